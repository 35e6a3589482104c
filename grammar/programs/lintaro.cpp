// lintaro: demonstration of the Boolean matrices over the characters 'A' to
// 'F' — five fixed matrices, then product, sum, transpose and both hulls of a
// general case, of the all-False and of the all-True matrix.
#include <initializer_list>
#include <string_view>
#include <utility>

#include "common/program.hpp"
#include "grammar/matrix.hpp"
#include "grammar/symbols.hpp"

namespace {

enum class smalchar : char {};

}  // namespace

template <>
struct grammar::symbol_traits<smalchar> : grammar::char_symbol_traits<smalchar, 'A', 'F'> {};

namespace {

namespace intmatrix = grammar::matrix;
using z_matrix = intmatrix::z_matrix<smalchar>;

constexpr smalchar ch(char c) { return static_cast<smalchar>(c); }

// A matrix holding exactly the given pairs.
z_matrix with_pairs(std::initializer_list<std::pair<char, char>> pairs) {
    z_matrix m{};
    for (const auto& [row, column] : pairs) {
        m[ch(row)][ch(column)] = true;
    }
    return m;
}

// Every cell set to `value`, one by one.
z_matrix filled(bool value) {
    z_matrix m;
    for (smalchar i : grammar::all_symbols<smalchar>()) {
        for (smalchar j : grammar::all_symbols<smalchar>()) {
            m[i][j] = value;
        }
    }
    return m;
}

// The five operations on `operand` (with mat2 as second operand), under
// the titles of one series.
void series(const z_matrix& operand, const z_matrix& mat2, std::initializer_list<std::string_view> titles) {
    const auto* title = titles.begin();
    z_matrix ergebnis = intmatrix::produkt(operand, mat2);
    intmatrix::drucke(ergebnis, *title++);
    ergebnis = intmatrix::summe(operand, mat2);
    intmatrix::drucke(ergebnis, *title++);
    ergebnis = intmatrix::transponiere(operand);
    intmatrix::drucke(ergebnis, *title++);
    ergebnis = intmatrix::transhuelle(operand);
    intmatrix::drucke(ergebnis, *title++);
    ergebnis = intmatrix::reflextranshuelle(operand);
    intmatrix::drucke(ergebnis, *title);
}

void lintaro() {
    const z_matrix mat4 = filled(false);
    const z_matrix mat5 = filled(true);
    const z_matrix mat1 =
        with_pairs({{'A', 'A'}, {'B', 'B'}, {'C', 'C'}, {'D', 'D'}, {'E', 'E'}, {'F', 'F'}});
    const z_matrix mat2 = with_pairs({{'A', 'E'}, {'B', 'C'}, {'B', 'D'}, {'C', 'A'}, {'D', 'E'},
                                      {'E', 'B'}, {'E', 'D'}, {'E', 'F'}, {'F', 'A'}});
    const z_matrix mat3 = with_pairs({{'A', 'B'}, {'B', 'C'}});

    intmatrix::drucke(mat1, "Matrix 1");
    intmatrix::drucke(mat2, "Matrix 2");
    intmatrix::drucke(mat3, "Matrix 3");
    intmatrix::drucke(mat4, "Matrix 4");
    intmatrix::drucke(mat5, "Matrix 5");

    // The general case: product and sum with the identity, the other three
    // operations on the matrices where they show most.
    z_matrix ergebnis = intmatrix::produkt(mat1, mat2);
    intmatrix::drucke(ergebnis, "Matrix Produkt");
    ergebnis = intmatrix::summe(mat1, mat2);
    intmatrix::drucke(ergebnis, "Matrix Summe");
    ergebnis = intmatrix::transponiere(mat2);
    intmatrix::drucke(ergebnis, "Matrix transpon");
    ergebnis = intmatrix::transhuelle(mat3);
    intmatrix::drucke(ergebnis, "Matrix TransHuelle");
    ergebnis = intmatrix::reflextranshuelle(mat3);
    intmatrix::drucke(ergebnis, "Matrix ReflexTransHuelle");

    series(mat4, mat2,
           {"Matrix Produkt - Spezialfall Mat4", "Matrix Summe- Spezialfall Mat4",
            "Matrix transpon- Spezialfall Mat4", "Matrix TransHuelle- Spezialfall Mat4",
            "Matrix ReflexTransHuelle- Spezialfall Mat4"});
    series(mat5, mat2,
           {"Matrix Produkt- Spezialfall Mat5", "Matrix Summe- Spezialfall Mat5",
            "Matrix transpon- Spezialfall Mat5", "Matrix TransHuelle- Spezialfall Mat5",
            "Matrix ReflexTransHuelle- Spezialfall Mat5"});
}

}  // namespace

int main() { return common::run_program(&lintaro); }
