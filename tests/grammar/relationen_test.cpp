// Relations of a grammar: the epsilon passes and the five pair lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grammar/relationenpaket.hpp"
#include "grammar/toadi.hpp"
#include "tests/grammar/grammatik_test_symbols.hpp"
#include "tests/support/capture.hpp"

namespace {

using namespace grammatik_tests;
using test_support::on_screen;
namespace rp = grammar::relationenpaket;
using P = probe;

struct epsilon_case {
    const char* name;
    std::vector<rule<P>> rules;
    const char* line;
};

class Epsilon : public testing::TestWithParam<epsilon_case> {};

TEST_P(Epsilon, Set) {
    rp::relationen<P> relations;
    fill(relations.gg, GetParam().rules);
    EXPECT_EQ(relations.eps_text(relations.epszaehler()), std::string("\n\n") + GetParam().line + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Relationen, Epsilon,
    testing::Values(
        epsilon_case{"NoEmptyAlternative", {{P::S, {P::X}}, {P::A, {P::S}}}, "{ } sind Epsilon-Symbole."},
        // S depends on A, which joins in the first pass; S only in a later one.
        epsilon_case{"JoinsInLaterPass",
                     {{P::S, {P::A}}, {P::A, {P::B}}, {P::B, {}}},
                     "{ S A B } sind Epsilon-Symbole."},
        // Removing B from the middle keeps X behind it: S stays outside.
        epsilon_case{"NullableInTheMiddle",
                     {{P::S, {P::C, P::B, P::X}}, {P::B, {}}, {P::C, {}}},
                     "{ B C } sind Epsilon-Symbole."},
        // Every occurrence goes, and a symbol without alternatives never joins.
        epsilon_case{"RepeatedSymbolAndNoAlternatives",
                     {{P::S, {P::A, P::A, P::A}}, {P::A, {}}, {P::C, {P::B}}},
                     "{ S A } sind Epsilon-Symbole."}),
    [](const auto& info) { return std::string(info.param.name); });

// S -> A X, A -> (empty) | Y; B and C have no alternative.
const std::vector<rule<P>> small{{P::S, {P::A, P::X}}, {P::A, {}}, {P::A, {P::Y}}};

std::string pair_text(rp::relationen<P>::tupelpoint tp) {
    return grammar::toadi::text_of(tp);
}

// follow_of returns the Follow pairs of `relations`, which print the end marker
// while they are found.
std::string follow_of(rp::relationen<P>& relations) {
    rp::relationen<P>::tupelpoint follow = nullptr;
    const auto screen = on_screen([&] { follow = relations.follow(); });
    EXPECT_EQ(screen.error, "");
    EXPECT_EQ(screen.text, "'#'");
    return pair_text(follow);
}

TEST(Relationen, AllFiveOfASmallGrammar) {
    rp::relationen<P> relations;
    fill(relations.gg, small);
    EXPECT_EQ(relations.eps_text(relations.epszaehler()), "\n\n{ A } sind Epsilon-Symbole.\n");
    EXPECT_EQ(pair_text(relations.anfang()), "\n   M:={('#','#');(Y,Y);(X,X);(A,Y);(S,X);(S,A);}\n");
    EXPECT_EQ(pair_text(relations.neben()), "\n   M:={(A,X);}\n");
    EXPECT_EQ(pair_text(relations.ende()), "\n   M:={('#','#');(Y,Y);(X,X);(A,Y);(S,X);}\n");
    EXPECT_EQ(pair_text(relations.first()), "\n   M:={(A,Y);(S,Y);(S,X);}\n");

    EXPECT_EQ(follow_of(relations), "\n   M:={(A,X);(S,'#');}\n");
}

// anfang and ende take the rules themselves: called first, they see the
// whole grammar, not only the terminal pairs.
TEST(Relationen, AnfangAndEndeBeforeAnyEpszaehler) {
    rp::relationen<P> anfang_first;
    fill(anfang_first.gg, small);
    EXPECT_EQ(pair_text(anfang_first.anfang()), "\n   M:={('#','#');(Y,Y);(X,X);(A,Y);(S,X);(S,A);}\n");
    rp::relationen<P> ende_first;
    fill(ende_first.gg, small);
    EXPECT_EQ(pair_text(ende_first.ende()), "\n   M:={('#','#');(Y,Y);(X,X);(A,Y);(S,X);}\n");
}

// With the end marker inside a right side (S -> A '#' | A, A -> X), A is
// followed by '#' and also ends S: the pair (A,'#') is found in both steps
// and stands twice.
TEST(Relationen, FollowKeepsTheEndMarkerPairFoundTwice) {
    rp::relationen<P> relations;
    fill<P>(relations.gg, {{P::S, {P::A, P::ENDE}}, {P::S, {P::A}}, {P::A, {P::X}}});
    EXPECT_EQ(follow_of(relations), "\n   M:={(A,'#');(A,'#');(S,'#');}\n");
}

TEST(Relationen, PruefeAddsEverySymbolBehindNullablesOnly) {
    rp::relationen<P> relations;
    fill<P>(relations.gg, {{P::A, {}}, {P::B, {}}, {P::C, {P::Y}}, {P::S, {P::A, P::B, P::C, P::X}}});
    const auto s = relations.gg.getregeln()[P::S]->erste;
    EXPECT_EQ(pair_text(relations.pruefe(s, nullptr, P::S)), "\n   M:={(S,C);(S,B);(S,A);}\n");
    EXPECT_EQ(pair_text(relations.pruefe(nullptr, nullptr, P::S)), "\n   M:={}\n");  // empty right side
}

}  // namespace
