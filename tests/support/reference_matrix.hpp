// The Boolean product in its plain form, the definition cell by cell, against
// which the product's row-by-row union is checked on many generated matrices.
#pragma once

#include "grammar/matrix.hpp"
#include "grammar/symbols.hpp"

namespace test_support {

// reference_produkt returns the matrix whose cell (i, j) is true when some k
// has m1(i, k) and m2(k, j).
template <grammar::symbol_type Z>
grammar::matrix::z_matrix<Z> reference_produkt(const grammar::matrix::z_matrix<Z>& m1,
                                               const grammar::matrix::z_matrix<Z>& m2) {
    grammar::matrix::z_matrix<Z> result;
    for (Z i : grammar::all_symbols<Z>()) {
        for (Z j : grammar::all_symbols<Z>()) {
            bool cell = false;
            for (Z k : grammar::all_symbols<Z>()) {
                cell = cell || (m1[i][k] && m2[k][j]);
            }
            result[i][j] = cell;
        }
    }
    return result;
}

}  // namespace test_support
