// Relations of a grammar: the epsilon passes and the five pair lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grammar/relationenpaket.hpp"
#include "grammar/toadi.hpp"
#include "grammatik_test_symbols.hpp"
#include "support/capture.hpp"

namespace {

using namespace grammatik_tests;
using test_support::on_screen;
namespace rp = grammar::relationenpaket;
using P = probe;

struct eps_fall {
    const char* name;
    std::vector<regel<P>> regeln;
    const char* zeile;
};

class Epsilon : public testing::TestWithParam<eps_fall> {};

TEST_P(Epsilon, Set) {
    rp::relationen<P> pak;
    fuelle(pak.gg, GetParam().regeln);
    EXPECT_EQ(pak.eps_text(pak.epszaehler()), std::string("\n\n") + GetParam().zeile + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Relationen, Epsilon,
    testing::Values(
        eps_fall{"NoEmptyAlternative", {{P::S, {P::X}}, {P::A, {P::S}}}, "{ } sind Epsilon-Symbole."},
        // S depends on A, which joins in the first pass; S only in a later one.
        eps_fall{"JoinsInLaterPass",
                 {{P::S, {P::A}}, {P::A, {P::B}}, {P::B, {}}},
                 "{ S A B } sind Epsilon-Symbole."},
        // Removing B from the middle keeps X behind it: S stays outside.
        eps_fall{"NullableInTheMiddle",
                 {{P::S, {P::C, P::B, P::X}}, {P::B, {}}, {P::C, {}}},
                 "{ B C } sind Epsilon-Symbole."},
        // Every occurrence goes, and a symbol without alternatives never joins.
        eps_fall{"RepeatedSymbolAndNoAlternatives",
                 {{P::S, {P::A, P::A, P::A}}, {P::A, {}}, {P::C, {P::B}}},
                 "{ S A } sind Epsilon-Symbole."}),
    [](const auto& info) { return std::string(info.param.name); });

// S -> A X, A -> (empty) | Y; B and C have no alternative.
const std::vector<regel<P>> klein{{P::S, {P::A, P::X}}, {P::A, {}}, {P::A, {P::Y}}};

std::string liste(rp::relationen<P>::tupelpoint tp) {
    return grammar::toadi::text_of(tp);
}

// follow_of returns the Follow pairs of `pak`, which print the end marker
// while they are found.
std::string follow_of(rp::relationen<P>& pak) {
    rp::relationen<P>::tupelpoint follow = nullptr;
    const auto screen = on_screen([&] { follow = pak.follow(); });
    EXPECT_EQ(screen.error, "");
    EXPECT_EQ(screen.text, "'#'");
    return liste(follow);
}

TEST(Relationen, AllFiveOfASmallGrammar) {
    rp::relationen<P> pak;
    fuelle(pak.gg, klein);
    EXPECT_EQ(pak.eps_text(pak.epszaehler()), "\n\n{ A } sind Epsilon-Symbole.\n");
    EXPECT_EQ(liste(pak.anfang()), "\n   M:={('#','#');(Y,Y);(X,X);(A,Y);(S,X);(S,A);}\n");
    EXPECT_EQ(liste(pak.neben()), "\n   M:={(A,X);}\n");
    EXPECT_EQ(liste(pak.ende()), "\n   M:={('#','#');(Y,Y);(X,X);(A,Y);(S,X);}\n");
    EXPECT_EQ(liste(pak.first()), "\n   M:={(A,Y);(S,Y);(S,X);}\n");

    EXPECT_EQ(follow_of(pak), "\n   M:={(A,X);(S,'#');}\n");
}

// anfang and ende take the rules themselves: called first, they see the
// whole grammar, not only the terminal pairs.
TEST(Relationen, AnfangAndEndeBeforeAnyEpszaehler) {
    rp::relationen<P> erst_anfang;
    fuelle(erst_anfang.gg, klein);
    EXPECT_EQ(liste(erst_anfang.anfang()), "\n   M:={('#','#');(Y,Y);(X,X);(A,Y);(S,X);(S,A);}\n");
    rp::relationen<P> erst_ende;
    fuelle(erst_ende.gg, klein);
    EXPECT_EQ(liste(erst_ende.ende()), "\n   M:={('#','#');(Y,Y);(X,X);(A,Y);(S,X);}\n");
}

// With the end marker inside a right side (S -> A '#' | A, A -> X), A is
// followed by '#' and also ends S: the pair (A,'#') is found in both steps
// and stands twice.
TEST(Relationen, FollowKeepsTheEndMarkerPairFoundTwice) {
    rp::relationen<P> pak;
    fuelle<P>(pak.gg, {{P::S, {P::A, P::ENDE}}, {P::S, {P::A}}, {P::A, {P::X}}});
    EXPECT_EQ(follow_of(pak), "\n   M:={(A,'#');(A,'#');(S,'#');}\n");
}

TEST(Relationen, PruefeAddsEverySymbolBehindNullablesOnly) {
    rp::relationen<P> pak;
    fuelle<P>(pak.gg, {{P::A, {}}, {P::B, {}}, {P::C, {P::Y}}, {P::S, {P::A, P::B, P::C, P::X}}});
    const auto s = pak.gg.getregeln()[P::S]->erste;
    EXPECT_EQ(liste(pak.pruefe(s, nullptr, P::S)), "\n   M:={(S,C);(S,B);(S,A);}\n");
    EXPECT_EQ(liste(pak.pruefe(nullptr, nullptr, P::S)), "\n   M:={}\n");  // empty right side
}

}  // namespace
