// Symbol sets and the symbol traits they range over.
#include "grammar/mengen.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/errors.hpp"
#include "tests/grammar/matrix_test_symbols.hpp"
#include "tests/support/raised.hpp"

namespace {

using namespace matrix_tests;
namespace s = grammar::mengen;

TEST(Mengen, InsertAndDelete) {
    auto ch = s::neueleermenge<letter>();
    EXPECT_EQ(ch, s::leeremenge<letter>);
    s::einfuegen(L('F'), ch);
    EXPECT_NE(ch, s::leeremenge<letter>);
    EXPECT_TRUE(s::vorhanden(L('F'), ch));
    EXPECT_FALSE(s::vorhanden(L('A'), ch));

    const auto before = ch;
    s::loesche(L('C'), ch);  // not a member: nothing changes
    EXPECT_EQ(ch, before);
    s::loesche(L('F'), ch);
    EXPECT_EQ(ch, s::leeremenge<letter>);
    for (letter z : grammar::all_symbols<letter>()) {
        EXPECT_FALSE(s::vorhanden(z, s::leeremenge<letter>));
    }
}

TEST(Mengen, UnionAndIntersection) {
    auto ab = s::neueleermenge<letter>();
    s::einfuegen(L('A'), ab);
    s::einfuegen(L('B'), ab);
    auto bf = s::neueleermenge<letter>();
    s::einfuegen(L('B'), bf);
    s::einfuegen(L('F'), bf);
    const auto empty = s::neueleermenge<letter>();

    EXPECT_EQ(s::vereinigung(ab, empty), ab);
    EXPECT_EQ(s::vereinigung(empty, ab), ab);
    EXPECT_EQ(s::schnitt(ab, empty), empty);

    auto abf = ab;
    s::einfuegen(L('F'), abf);
    EXPECT_EQ(s::vereinigung(ab, bf), abf);
    auto b = empty;
    s::einfuegen(L('B'), b);
    EXPECT_EQ(s::schnitt(ab, bf), b);
}

TEST(Mengen, ValueOutsideTheRangeIsACheckError) {
    auto ch = s::neueleermenge<letter>();
    const std::string error = test_support::raised([&] { s::einfuegen(L('G'), ch); });
    EXPECT_TRUE(error.starts_with(test_support::report_in(common::check_error_name, "symbols"))) << error;
}

template <class Range>
std::string images(const Range& range) {
    std::string text;
    for (auto z : range) {
        text += grammar::image(z);
        text += ' ';
    }
    return text;
}

TEST(SymbolTraits, RangesAndImages) {
    EXPECT_EQ(images(grammar::all_symbols<letter>()), "'A' 'B' 'C' 'D' 'E' 'F' ");
    EXPECT_EQ(images(grammar::all_symbols_descending<letter>()), "'F' 'E' 'D' 'C' 'B' 'A' ");
    EXPECT_EQ(images(grammar::all_symbols<number>()), " 1  2  3 ");
    EXPECT_EQ(images(grammar::nonterminals<parentheses>()), "S ");
    EXPECT_EQ(images(grammar::terminals<parentheses>()), "AUF ZU '#' ");
    EXPECT_EQ(images(grammar::symbol_range<letter>(L('C'), L('B'))), "");
    EXPECT_EQ(grammar::symbol_count<letter>, 6U);
    EXPECT_EQ(grammar::end_marker<parentheses>, parentheses::ENDE);
    EXPECT_TRUE(grammar::is_terminal(parentheses::ENDE));
    EXPECT_FALSE(grammar::is_terminal(parentheses::S));
}

TEST(SymbolTraits, NonterminalArrayRefusesATerminal) {
    grammar::nonterminal_array<parentheses, int> table{};
    table[parentheses::S] = 7;
    EXPECT_EQ(table.cells.size(), 1U);
    EXPECT_EQ(table[parentheses::S], 7);
    EXPECT_THROW(table[parentheses::AUF], common::named_error);
}

}  // namespace
