// The grammar model: building, listing, the simple-grammar test, and the
// word test with its configuration trace.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "grammar/grammatikgenerator2.hpp"
#include "grammatik_test_symbols.hpp"
#include "support/raised.hpp"

namespace {

using namespace grammatik_tests;
namespace g2 = grammar::grammatikgenerator2;

using P = probe;
using K = klammer;

TEST(Grammatik, ListingKeepsCallOrderWithinNonterminalsAndEnumOrderAcrossThem) {
    g2::grammatik<P> gg;
    fuelle<P>(gg, {{P::A, {}}, {P::S, {P::A, P::X}}, {P::A, {P::Y}}});
    EXPECT_EQ(gg.listing(),
              "Startsymbol:\n"
              "   S\n"
              "\n"
              "Nichtterminale:\n"
              "   S\n"
              "   A\n"
              "   B\n"
              "   C\n"
              "\n"
              "Terminale:\n"
              "   X\n"
              "   Y\n"
              "   '#'\n"
              "\n"
              "Regeln:\n"
              "   S ->\n"
              "       A X .\n"
              "   A ->\n"
              "       |\n"
              "       Y .\n"
              "   B ->\n"
              "   C ->\n");
}

TEST(Grammatik, EmptyAlternativeAndItsMarks) {
    g2::grammatik<P> gg;
    EXPECT_FALSE(gg.hatepsilonregel(P::S));  // no alternative at all
    fuelle<P>(gg, {{P::S, {P::A}}, {P::A, {P::X}}, {P::A, {}}});
    EXPECT_TRUE(gg.hatepsilonregel(P::A));
    EXPECT_EQ(gg.getregeln()[P::A]->andere->erste, nullptr);
    EXPECT_FALSE(gg.hatepsilonregel(P::S));  // derives the empty word only through A
    EXPECT_NE(gg.listing().find("   A ->\n       X |\n       .\n"), std::string::npos);
}

TEST(Grammatik, GetregelnSharesTheLists) {
    g2::grammatik<P> gg;
    fuelle<P>(gg, {{P::S, {P::X, P::Y}}});
    const auto kopie = gg.getregeln();
    EXPECT_EQ(kopie[P::S], gg.getregeln()[P::S]);
    EXPECT_EQ(kopie[P::S]->erste->erstes, P::X);
    EXPECT_EQ(kopie[P::S]->erste->weitere->erstes, P::Y);
}

TEST(Grammatik, SlicesOfRightSides) {
    constexpr std::array<P, 3> seiten{P::X, P::A, P::Y};
    EXPECT_TRUE(g2::slice(seiten, 1, 0).empty());
    const auto mitte = g2::slice(seiten, 2, 3);
    ASSERT_EQ(mitte.size(), 2U);
    EXPECT_EQ(mitte[0], P::A);
    EXPECT_THROW(g2::slice(seiten, 2, 4), common::named_error);
}

TEST(Grammatik, TerminalOnTheLeftIsRefusedBeforeAnythingIsAdded) {
    g2::grammatik<P> gg;
    const std::vector<P> rechts{P::Y};
    const std::string error = test_support::raised([&] { gg.neuealternativehinzu(P::X, rechts); });
    EXPECT_TRUE(error.starts_with("CHECK_ERROR : grammatikgenerator2:")) << error;
    EXPECT_EQ(gg.getregeln(), g2::regelmenge<P>{});
}

struct einfach_fall {
    const char* name;
    std::vector<regel<P>> regeln;
    bool einfach;
};

class Einfach : public testing::TestWithParam<einfach_fall> {};

TEST_P(Einfach, Verdict) {
    g2::grammatik<P> gg;
    fuelle(gg, GetParam().regeln);
    EXPECT_EQ(gg.istgrammatikeinfach(), GetParam().einfach);
}

INSTANTIATE_TEST_SUITE_P(
    Grammatik, Einfach,
    testing::Values(
        einfach_fall{"NoAlternatives", {}, true},
        einfach_fall{"ParenthesesEmptyLast", {{P::S, {P::X, P::S, P::Y, P::S}}, {P::S, {}}}, true},
        einfach_fall{"ParenthesesEmptyFirst", {{P::S, {}}, {P::S, {P::X, P::S, P::Y, P::S}}}, true},
        einfach_fall{"DistinctFirstTerminals",
                     {{P::S, {P::X}}, {P::S, {}}, {P::S, {P::Y, P::A}}, {P::A, {P::X}}},
                     true},
        einfach_fall{"TwoEmpty", {{P::S, {P::X}}, {P::S, {}}, {P::S, {}}}, false},
        einfach_fall{"SameFirstTerminal", {{P::S, {P::X, P::Y}}, {P::S, {}}, {P::S, {P::X}}}, false},
        einfach_fall{"BeginsWithNonterminal", {{P::S, {P::X}}, {P::A, {P::Y}}, {P::A, {P::B}}}, false},
        einfach_fall{"FirstNonterminalFailsAtOnce", {{P::S, {P::A}}, {P::A, {}}, {P::A, {}}}, false}),
    [](const auto& info) { return std::string(info.param.name); });

// The word test on S -> AUF S ZU S | (empty) and on small probe grammars.
struct wort_fall {
    const char* name;
    std::vector<regel<P>> regeln;  // empty: the parentheses grammar over klammer
    std::vector<int> wort;         // symbol values
    bool ergebnis;
    const char* protokoll;
};

class Wort : public testing::TestWithParam<wort_fall> {};

template <class Z>
bool pruefe_wort(const std::vector<regel<Z>>& regeln, const std::vector<int>& werte, std::string& protokoll) {
    g2::grammatik<Z> gg;
    fuelle(gg, regeln);
    std::vector<Z> wort;
    for (int wert : werte) {
        wort.push_back(static_cast<Z>(wert));
    }
    return gg.wortimsprachschatz(wort, protokoll);
}

TEST_P(Wort, Trace) {
    const auto& fall = GetParam();
    std::string protokoll;
    bool ergebnis = false;
    if (fall.regeln.empty()) {
        const std::vector<regel<K>> klammern{{K::S, {K::AUF, K::S, K::ZU, K::S}}, {K::S, {}}};
        ergebnis = pruefe_wort(klammern, fall.wort, protokoll);
    } else {
        ergebnis = pruefe_wort(fall.regeln, fall.wort, protokoll);
    }
    EXPECT_EQ(ergebnis, fall.ergebnis);
    EXPECT_EQ(protokoll, fall.protokoll);
}

constexpr int AUF = 1;
constexpr int ZU = 2;
constexpr int X = 4;
constexpr int Y = 5;

INSTANTIATE_TEST_SUITE_P(
    Grammatik, Wort,
    testing::Values(
        wort_fall{"EmptyWordAccepted", {}, {}, true, "\n( , S  )\n=> ( ,  )\n\n"},
        wort_fall{"Pair",
                  {},
                  {AUF, ZU},
                  true,
                  "\n( AUF ZU , S  )\n=> ( AUF ZU , AUF S ZU S  )\n=> ( ZU , S ZU S  )\n=> ( ZU , ZU S  )\n"
                  "=> ( , S  )\n=> ( ,  )\n\n"},
        // The form is used up by the empty alternative while the word is not.
        wort_fall{"WordLeftOver",
                  {},
                  {ZU, AUF},
                  false,
                  "\n( ZU AUF , S  )\n=> ( ZU AUF ,  )\n\nAnalyse mit Fehler abgebrochen\n\n"},
        // After the word, S goes but the terminal ZU cannot.
        wort_fall{"TerminalLeftInForm",
                  {},
                  {AUF, AUF},
                  false,
                  "\n( AUF AUF , S  )\n=> ( AUF AUF , AUF S ZU S  )\n=> ( AUF , S ZU S  )\n"
                  "=> ( AUF , AUF S ZU S ZU S  )\n=> ( , S ZU S ZU S  )\n=> ( , ZU S ZU S  )\n"
                  "\nAnalyse mit Fehler abgebrochen\n\n"},
        wort_fall{"EmptyWordWithoutEmptyAlternative",
                  {{P::S, {P::X}}},
                  {},
                  false,
                  "\n( , S  )\n\nAnalyse mit Fehler abgebrochen\n\n"},
        wort_fall{"TerminalMismatch",
                  {{P::S, {P::X, P::Y}}},
                  {X, X},
                  false,
                  "\n( X X , S  )\n=> ( X X , X Y  )\n=> ( X , Y  )\n\nAnalyse mit Fehler abgebrochen\n\n"},
        wort_fall{"NoAlternativeForTerminal",
                  {{P::S, {P::X, P::A}}, {P::A, {P::X}}},
                  {X, Y},
                  false,
                  "\n( X Y , S  )\n=> ( X Y , X A  )\n=> ( Y , A  )\n\nAnalyse mit Fehler abgebrochen\n\n"},
        // A derives the empty word only through B: not removed at the end.
        wort_fall{"IndirectlyNullableFails",
                  {{P::S, {P::X, P::A}}, {P::A, {P::B}}, {P::B, {}}},
                  {X},
                  false,
                  "\n( X , S  )\n=> ( X , X A  )\n=> ( , A  )\n\nAnalyse mit Fehler abgebrochen\n\n"},
        // Not simple: the first alternative that begins with X wins, and the
        // one after it that would succeed is never tried.
        wort_fall{"FirstMatchWins",
                  {{P::S, {P::A}}, {P::S, {P::X, P::Y}}, {P::S, {P::X}}},
                  {X},
                  false,
                  "\n( X , S  )\n=> ( X , X Y  )\n=> ( , Y  )\n\nAnalyse mit Fehler abgebrochen\n\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Grammatik, WordWithANonterminalIsRefused) {
    g2::grammatik<P> gg;
    const std::vector<P> wort{P::X, P::A};
    std::string protokoll;
    EXPECT_THROW(gg.wortimsprachschatz(wort, protokoll), common::named_error);
}

}  // namespace
