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
enum class probe : std::uint8_t { S, A, B, C, X, Y, ENDE };
inline constexpr std::array<std::string_view, 7> probe_images{"S", "A", "B", "C", "X", "Y", "'#'"};

// The symbols of the balanced-parentheses grammar.
enum class parentheses : std::uint8_t { S, AUF, ZU, ENDE };
inline constexpr std::array<std::string_view, 4> parentheses_images{"S", "AUF", "ZU", "'#'"};

}  // namespace grammatik_tests

template <>
struct grammar::symbol_traits<grammatik_tests::probe>
    : grammar::enum_symbol_traits<grammatik_tests::probe, grammatik_tests::probe_images,
                                  grammatik_tests::probe::C> {};
template <>
struct grammar::symbol_traits<grammatik_tests::parentheses>
    : grammar::enum_symbol_traits<grammatik_tests::parentheses, grammatik_tests::parentheses_images,
                                  grammatik_tests::parentheses::S> {};

namespace grammatik_tests {

// One alternative: the nonterminal and its right side (empty for epsilon).
template <class Z>
struct rule {
    Z links;
    std::vector<Z> rechts;
};

// Adds the alternatives to the grammar gg in table order.
template <class Z, class G>
void fill(G& gg, const std::vector<rule<Z>>& regeln) {
    for (const auto& r : regeln) {
        gg.neuealternativehinzu(r.links, std::span<const Z>(r.rechts));
    }
}

}  // namespace grammatik_tests
