// Square Boolean matrices over a symbol type, read as relations: cell (i, j)
// is True when i is related to j; the first index is the row. A matrix is a
// plain value, and every operation returns a new one.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "common/textio.hpp"
#include "grammar/symbols.hpp"

namespace grammar::matrix {

// z_matrix is a square Boolean matrix over Z, indexed m[i][j]: a plain
// value, copied on assignment and compared cell by cell; a new one has every
// cell false. Its cells live on the heap, not in the frame that holds it:
// over the 28 symbols of the While grammar a matrix takes 784 bytes, and
// Follow holds several at once, more than the main stack of 16 KiB that a
// program gets when no thread is to be had leaves it. A moved-from matrix
// may only be assigned or destroyed.
template <symbol_type Z>
class z_matrix {
public:
    using row = symbol_array<Z, bool>;

    z_matrix() : cells_(std::make_unique<rows>()) {}
    z_matrix(const z_matrix& other) : cells_(std::make_unique<rows>(*other.cells_)) {}
    z_matrix(z_matrix&&) noexcept = default;
    z_matrix& operator=(const z_matrix& other) {
        if (cells_ == nullptr) {
            cells_ = std::make_unique<rows>(*other.cells_);
        } else {
            *cells_ = *other.cells_;
        }
        return *this;
    }
    z_matrix& operator=(z_matrix&&) noexcept = default;
    ~z_matrix() = default;

    row& operator[](Z i) { return (*cells_)[i]; }
    const row& operator[](Z i) const { return (*cells_)[i]; }
    bool operator==(const z_matrix& other) const { return *cells_ == *other.cells_; }

private:
    using rows = symbol_array<Z, row>;
    std::unique_ptr<rows> cells_;
};

// produkt returns the Boolean product: (i, j) when some k has m1(i, k) and
// m2(k, j). Row i of the product is the union of the rows k of m2 for which
// m1(i, k) holds.
template <symbol_type Z>
z_matrix<Z> produkt(const z_matrix<Z>& m1, const z_matrix<Z>& m2) {
    z_matrix<Z> result;
    for (Z i : all_symbols<Z>()) {
        typename z_matrix<Z>::row& cells = result[i];
        for (Z k : all_symbols<Z>()) {
            if (m1[i][k]) {
                const typename z_matrix<Z>::row& through = m2[k];
                for (Z j : all_symbols<Z>()) {
                    cells[j] = cells[j] || through[j];
                }
            }
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
