// Small grammar-symbol types for the tests of the grammar model and the
// relations, and a helper that fills a grammar from a table of rules.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "grammar/symbols.hpp"

namespace grammatik_tests {

// Nonterminals S A B C, terminals X Y and the end marker.
#define PROBE_SYMBOLS(ROW) \
    ROW(nonterminal, S)    \
    ROW(nonterminal, A)    \
    ROW(nonterminal, B)    \
    ROW(nonterminal, C)    \
    ROW(terminal, X)       \
    ROW(terminal, Y)       \
    ROW(end_marker, ENDE)
enum class probe : std::uint8_t { PROBE_SYMBOLS(GRAMMAR_ENUMERATOR) };
inline constexpr grammar::symbol_row probe_rows[]{PROBE_SYMBOLS(GRAMMAR_SYMBOL_ROW)};
#undef PROBE_SYMBOLS

// The symbols of the balanced-parentheses grammar.
#define PARENTHESES_SYMBOLS(ROW) \
    ROW(nonterminal, S)          \
    ROW(terminal, AUF)           \
    ROW(terminal, ZU)            \
    ROW(end_marker, ENDE)
enum class parentheses : std::uint8_t { PARENTHESES_SYMBOLS(GRAMMAR_ENUMERATOR) };
inline constexpr grammar::symbol_row parentheses_rows[]{PARENTHESES_SYMBOLS(GRAMMAR_SYMBOL_ROW)};
#undef PARENTHESES_SYMBOLS

}  // namespace grammatik_tests

template <>
struct grammar::symbol_traits<grammatik_tests::probe>
    : grammar::row_symbol_traits<grammatik_tests::probe, grammatik_tests::probe_rows> {};
template <>
struct grammar::symbol_traits<grammatik_tests::parentheses>
    : grammar::row_symbol_traits<grammatik_tests::parentheses, grammatik_tests::parentheses_rows> {};

namespace grammatik_tests {

// One alternative: the nonterminal and its right side (empty for epsilon).
template <class Z>
struct rule {
    Z left;
    std::vector<Z> right;
};

// Adds the alternatives to the grammar gg in table order.
template <class Z, class G>
void fill(G& gg, const std::vector<rule<Z>>& rules) {
    for (const auto& r : rules) {
        gg.neuealternativehinzu(r.left, std::span<const Z>(r.right));
    }
}

}  // namespace grammatik_tests
