// The grammar model: building, listing, the simple-grammar test, and the
// word test with its configuration trace.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/errors.hpp"
#include "grammar/grammatikgenerator2.hpp"
#include "tests/grammar/grammatik_test_symbols.hpp"
#include "tests/support/raised.hpp"

namespace {

using namespace grammatik_tests;
namespace g2 = grammar::grammatikgenerator2;

using P = probe;
using K = parentheses;

// A symbol list out of grammar order does not compile: the traits refuse
// rows that fail this test.
namespace order {
using enum grammar::symbol_kind;
constexpr grammar::symbol_row grammar_order[]{
    {nonterminal, "S"}, {nonterminal, "A"}, {terminal, "X"}, {end_marker, "'#'"}};
constexpr grammar::symbol_row only_the_end_marker_as_terminal[]{{nonterminal, "S"}, {end_marker, "'#'"}};
constexpr grammar::symbol_row nonterminal_after_terminal[]{
    {nonterminal, "S"}, {terminal, "X"}, {nonterminal, "A"}, {end_marker, "'#'"}};
constexpr grammar::symbol_row no_nonterminal[]{{terminal, "X"}, {end_marker, "'#'"}};
constexpr grammar::symbol_row no_end_marker[]{{nonterminal, "S"}, {terminal, "X"}};
constexpr grammar::symbol_row end_marker_not_last[]{{nonterminal, "S"}, {end_marker, "'#'"}, {terminal, "X"}};
constexpr grammar::symbol_row two_end_markers[]{{nonterminal, "S"}, {end_marker, "'#'"}, {end_marker, "'#'"}};
static_assert(grammar::rows_in_grammar_order(grammar_order));
static_assert(grammar::rows_in_grammar_order(only_the_end_marker_as_terminal));
static_assert(!grammar::rows_in_grammar_order(nonterminal_after_terminal));
static_assert(!grammar::rows_in_grammar_order(no_nonterminal));
static_assert(!grammar::rows_in_grammar_order(no_end_marker));
static_assert(!grammar::rows_in_grammar_order(end_marker_not_last));
static_assert(!grammar::rows_in_grammar_order(two_end_markers));
}  // namespace order

// The boundary and the images come from the rows: the end marker prints
// as "'#'" whatever its enumerator.
TEST(Grammatik, ListingKeepsCallOrderWithinNonterminalsAndEnumOrderAcrossThem) {
    g2::grammatik<P> gg;
    fill<P>(gg, {{P::A, {}}, {P::S, {P::A, P::X}}, {P::A, {P::Y}}});
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
    fill<P>(gg, {{P::S, {P::A}}, {P::A, {P::X}}, {P::A, {}}});
    EXPECT_TRUE(gg.hatepsilonregel(P::A));
    EXPECT_EQ(gg.getregeln()[P::A]->andere->erste, nullptr);
    EXPECT_FALSE(gg.hatepsilonregel(P::S));  // derives the empty word only through A
    EXPECT_NE(gg.listing().find("   A ->\n       X |\n       .\n"), std::string::npos);
}

TEST(Grammatik, GetregelnSharesTheLists) {
    g2::grammatik<P> gg;
    fill<P>(gg, {{P::S, {P::X, P::Y}}});
    const auto copy = gg.getregeln();
    EXPECT_EQ(copy[P::S], gg.getregeln()[P::S]);
    EXPECT_EQ(copy[P::S]->erste->erstes, P::X);
    EXPECT_EQ(copy[P::S]->erste->weitere->erstes, P::Y);
}

TEST(Grammatik, TerminalOnTheLeftIsRefusedBeforeAnythingIsAdded) {
    g2::grammatik<P> gg;
    const std::vector<P> right{P::Y};
    const std::string error = test_support::raised([&] { gg.neuealternativehinzu(P::X, right); });
    EXPECT_TRUE(error.starts_with(test_support::report_in(common::check_error_name, "grammatikgenerator2")))
        << error;
    EXPECT_EQ(gg.getregeln().cells, g2::regelmenge<P>{}.cells);
}

struct simple_case {
    const char* name;
    std::vector<rule<P>> rules;
    bool simple;
};

class Simple : public testing::TestWithParam<simple_case> {};

TEST_P(Simple, Verdict) {
    g2::grammatik<P> gg;
    fill(gg, GetParam().rules);
    EXPECT_EQ(gg.istgrammatikeinfach(), GetParam().simple);
}

INSTANTIATE_TEST_SUITE_P(
    Grammatik, Simple,
    testing::Values(
        simple_case{"NoAlternatives", {}, true},
        simple_case{"ParenthesesEmptyLast", {{P::S, {P::X, P::S, P::Y, P::S}}, {P::S, {}}}, true},
        simple_case{"ParenthesesEmptyFirst", {{P::S, {}}, {P::S, {P::X, P::S, P::Y, P::S}}}, true},
        simple_case{"DistinctFirstTerminals",
                    {{P::S, {P::X}}, {P::S, {}}, {P::S, {P::Y, P::A}}, {P::A, {P::X}}},
                    true},
        simple_case{"TwoEmpty", {{P::S, {P::X}}, {P::S, {}}, {P::S, {}}}, false},
        simple_case{"SameFirstTerminal", {{P::S, {P::X, P::Y}}, {P::S, {}}, {P::S, {P::X}}}, false},
        simple_case{"BeginsWithNonterminal", {{P::S, {P::X}}, {P::A, {P::Y}}, {P::A, {P::B}}}, false},
        simple_case{"FirstNonterminalFailsAtOnce", {{P::S, {P::A}}, {P::A, {}}, {P::A, {}}}, false}),
    [](const auto& info) { return std::string(info.param.name); });

// The word test on S -> AUF S ZU S | (empty) and on small probe grammars.
struct word_case {
    const char* name;
    std::vector<rule<P>> rules;  // empty: the grammar of balanced parentheses
    std::vector<int> word;       // symbol values
    bool accepted;
    const char* trace;
};

class Word : public testing::TestWithParam<word_case> {};

template <class Z>
bool analyse_word(const std::vector<rule<Z>>& rules, const std::vector<int>& values, std::string& trace) {
    g2::grammatik<Z> gg;
    fill(gg, rules);
    std::vector<Z> word;
    for (int value : values) {
        word.push_back(static_cast<Z>(value));
    }
    return gg.wortimsprachschatz(word, trace);
}

TEST_P(Word, Trace) {
    const auto& c = GetParam();
    std::string trace;
    bool accepted = false;
    if (c.rules.empty()) {
        const std::vector<rule<K>> parentheses_rules{{K::S, {K::AUF, K::S, K::ZU, K::S}}, {K::S, {}}};
        accepted = analyse_word(parentheses_rules, c.word, trace);
    } else {
        accepted = analyse_word(c.rules, c.word, trace);
    }
    EXPECT_EQ(accepted, c.accepted);
    EXPECT_EQ(trace, c.trace);
}

constexpr int AUF = 1;
constexpr int ZU = 2;
constexpr int X = 4;
constexpr int Y = 5;

INSTANTIATE_TEST_SUITE_P(
    Grammatik, Word,
    testing::Values(
        word_case{"EmptyWordAccepted", {}, {}, true, "\n( , S  )\n=> ( ,  )\n\n"},
        word_case{"Pair",
                  {},
                  {AUF, ZU},
                  true,
                  "\n( AUF ZU , S  )\n=> ( AUF ZU , AUF S ZU S  )\n=> ( ZU , S ZU S  )\n=> ( ZU , ZU S  )\n"
                  "=> ( , S  )\n=> ( ,  )\n\n"},
        // The form is used up by the empty alternative while the word is not.
        word_case{"WordLeftOver",
                  {},
                  {ZU, AUF},
                  false,
                  "\n( ZU AUF , S  )\n=> ( ZU AUF ,  )\n\nAnalyse mit Fehler abgebrochen\n\n"},
        // After the word, S goes but the terminal ZU cannot.
        word_case{"TerminalLeftInForm",
                  {},
                  {AUF, AUF},
                  false,
                  "\n( AUF AUF , S  )\n=> ( AUF AUF , AUF S ZU S  )\n=> ( AUF , S ZU S  )\n"
                  "=> ( AUF , AUF S ZU S ZU S  )\n=> ( , S ZU S ZU S  )\n=> ( , ZU S ZU S  )\n"
                  "\nAnalyse mit Fehler abgebrochen\n\n"},
        word_case{"EmptyWordWithoutEmptyAlternative",
                  {{P::S, {P::X}}},
                  {},
                  false,
                  "\n( , S  )\n\nAnalyse mit Fehler abgebrochen\n\n"},
        word_case{"TerminalMismatch",
                  {{P::S, {P::X, P::Y}}},
                  {X, X},
                  false,
                  "\n( X X , S  )\n=> ( X X , X Y  )\n=> ( X , Y  )\n\nAnalyse mit Fehler abgebrochen\n\n"},
        word_case{"NoAlternativeForTerminal",
                  {{P::S, {P::X, P::A}}, {P::A, {P::X}}},
                  {X, Y},
                  false,
                  "\n( X Y , S  )\n=> ( X Y , X A  )\n=> ( Y , A  )\n\nAnalyse mit Fehler abgebrochen\n\n"},
        // A derives the empty word only through B: not removed at the end.
        word_case{"IndirectlyNullableFails",
                  {{P::S, {P::X, P::A}}, {P::A, {P::B}}, {P::B, {}}},
                  {X},
                  false,
                  "\n( X , S  )\n=> ( X , X A  )\n=> ( , A  )\n\nAnalyse mit Fehler abgebrochen\n\n"},
        // Not simple: the first alternative that begins with X wins, and the
        // one after it that would succeed is never tried.
        word_case{"FirstMatchWins",
                  {{P::S, {P::A}}, {P::S, {P::X, P::Y}}, {P::S, {P::X}}},
                  {X},
                  false,
                  "\n( X , S  )\n=> ( X , X Y  )\n=> ( , Y  )\n\nAnalyse mit Fehler abgebrochen\n\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Grammatik, WordWithANonterminalIsRefused) {
    g2::grammatik<P> gg;
    const std::vector<P> word{P::X, P::A};
    std::string trace;
    EXPECT_THROW(gg.wortimsprachschatz(word, trace), common::named_error);
}

}  // namespace
