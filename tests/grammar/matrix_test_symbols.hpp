// Small symbol types for the tests of the sets, matrices and pair lists.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/image.hpp"
#include "grammar/matrix.hpp"
#include "grammar/symbols.hpp"
#include "tests/grammar/grammatik_test_symbols.hpp"

namespace matrix_tests {

enum class letter : char {};         // 'A' to 'F', as in lintaro
enum class short_letter : char {};   // 'A' to 'C'
enum class number : int {};          // 1 to 3
using grammatik_tests::parentheses;  // S, then AUF ZU '#'

constexpr letter L(char c) {
    return static_cast<letter>(c);
}

}  // namespace matrix_tests

template <>
struct grammar::symbol_traits<matrix_tests::letter>
    : grammar::char_symbol_traits<matrix_tests::letter, 'A', 'F'> {};
template <>
struct grammar::symbol_traits<matrix_tests::short_letter>
    : grammar::char_symbol_traits<matrix_tests::short_letter, 'A', 'C'> {};
// An index type over the integers 1 to 3: each value prints as a number
// image, with its leading blank (" 1").
template <>
struct grammar::symbol_traits<matrix_tests::number> {
    static constexpr matrix_tests::number first{1};
    static constexpr matrix_tests::number last{3};
    static std::string image(matrix_tests::number z) { return common::image(static_cast<std::int64_t>(z)); }
};

namespace matrix_tests {

// A matrix over Z from its True cells written as row/column pairs of
// characters, "AB BC" for A->B and B->C.
template <class Z>
grammar::matrix::z_matrix<Z> cells(std::string_view pairs) {
    grammar::matrix::z_matrix<Z> m{};
    for (std::size_t p = 0; p + 1 < pairs.size(); p += 3) {
        m[static_cast<Z>(pairs[p])][static_cast<Z>(pairs[p + 1])] = true;
    }
    return m;
}

// Every cell set to `value`.
template <class Z>
grammar::matrix::z_matrix<Z> filled(bool value) {
    grammar::matrix::z_matrix<Z> m{};
    for (Z i : grammar::all_symbols<Z>()) {
        for (Z j : grammar::all_symbols<Z>()) {
            m[i][j] = value;
        }
    }
    return m;
}

// The True cells of m as "AB BC", rows then columns ascending: a readable
// form for comparisons.
template <class Z>
std::string cells_of(const grammar::matrix::z_matrix<Z>& m) {
    std::string text;
    for (Z i : grammar::all_symbols<Z>()) {
        for (Z j : grammar::all_symbols<Z>()) {
            if (m[i][j]) {
                if (!text.empty()) {
                    text += ' ';
                }
                text += static_cast<char>(i);
                text += static_cast<char>(j);
            }
        }
    }
    return text;
}

}  // namespace matrix_tests
