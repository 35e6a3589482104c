// Square Boolean matrices over a symbol type, read as relations: cell (i, j)
// is True when i is related to j; the first index is the row. A matrix is a
// plain value, and every operation returns a new one.
#pragma once

#include <string>
#include <string_view>

#include "common/textio.hpp"
#include "grammar/symbols.hpp"

namespace grammar::matrix {

template <symbol_type Z>
using z_matrix = symbol_array<Z, symbol_array<Z, bool>>;

// produkt returns the Boolean product: (i, j) when some k has m1(i, k) and m2(k, j).
template <symbol_type Z>
z_matrix<Z> produkt(const z_matrix<Z>& m1, const z_matrix<Z>& m2) {
    z_matrix<Z> result;
    for (Z i : all_symbols<Z>()) {
        for (Z j : all_symbols<Z>()) {
            bool cell = false;
            for (Z k : all_symbols<Z>()) {
                cell = cell || (m1[i][k] && m2[k][j]);
            }
            result[i][j] = cell;
        }
    }
    return result;
}

// summe returns the element-wise or.
template <symbol_type Z>
z_matrix<Z> summe(const z_matrix<Z>& m1, const z_matrix<Z>& m2) {
    z_matrix<Z> result;
    for (Z i : all_symbols<Z>()) {
        for (Z j : all_symbols<Z>()) {
            result[i][j] = m1[i][j] || m2[i][j];
        }
    }
    return result;
}

// transponiere returns the transpose: a copy with (i, j) and (j, i) swapped.
template <symbol_type Z>
z_matrix<Z> transponiere(const z_matrix<Z>& m1) {
    z_matrix<Z> result = m1;
    for (Z i : all_symbols<Z>()) {
        for (std::size_t p = ordinal(i) + 1; p < symbol_count<Z>; ++p) {
            const Z j = symbol_at<Z>(p);
            const bool cell = result[i][j];
            result[i][j] = result[j][i];
            result[j][i] = cell;
        }
    }
    return result;
}

// transhuelle returns the transitive hull: (i, j) when j is reached from i by
// one or more steps of m1. It runs exactly |Z| rounds, never fewer.
template <symbol_type Z>
z_matrix<Z> transhuelle(const z_matrix<Z>& m1) {
    z_matrix<Z> c = m1;
    for (std::size_t round = 0; round < symbol_count<Z>; ++round) {
        c = summe(m1, produkt(c, m1));
    }
    return c;
}

// reflextranshuelle returns the transitive hull with every diagonal cell set.
template <symbol_type Z>
z_matrix<Z> reflextranshuelle(const z_matrix<Z>& m1) {
    z_matrix<Z> result = transhuelle(m1);
    for (Z i : all_symbols<Z>()) {
        result[i][i] = true;
    }
    return result;
}

// transition returns the composition, first z1 then z2: (a, c) when some b
// has z1(a, b) and z2(b, c).
template <symbol_type Z>
z_matrix<Z> transition(const z_matrix<Z>& z1, const z_matrix<Z>& z2) {
    // Composing relations is the Boolean product of their matrices.
    return produkt(z1, z2);
}

// text_of returns the text that drucke prints: two line ends, the title, two
// line ends, the column header, two line ends, one row per index ("'A' :"
// and "  0"/"  1" per column) and one more line end. An index type whose
// first image is " 1" gets a blank after every column image instead of the
// extra blank in front, so its digits stand under the images' digits.
template <symbol_type Z>
std::string text_of(const z_matrix<Z>& m1, std::string_view bezeichner) {
    std::string text = "\n\n";
    text += bezeichner;
    text += "\n\n";
    const bool leerzeichen = image(first_symbol<Z>) == " 1";
    if (!leerzeichen) {
        text += ' ';
    }
    text += "     ";
    for (Z j : all_symbols<Z>()) {
        text += image(j);
        if (leerzeichen) {
            text += ' ';
        }
    }
    text += "\n\n";
    for (Z i : all_symbols<Z>()) {
        text += image(i);
        text += " :";
        for (Z j : all_symbols<Z>()) {
            text += m1[i][j] ? "  1" : "  0";
        }
        text += '\n';
    }
    text += '\n';
    return text;
}

// drucke prints m1 under the title bezeichner on standard output.
template <symbol_type Z>
void drucke(const z_matrix<Z>& m1, std::string_view bezeichner) {
    common::standard_output().put(text_of(m1, bezeichner));
}

}  // namespace grammar::matrix
