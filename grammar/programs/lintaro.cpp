// lintaro: demonstration of the Boolean matrices over the characters 'A' to
// 'F' — five fixed matrices, then product, sum, transpose and both hulls of a
// general case, of the all-False and of the all-True matrix.
#include <array>
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

constexpr smalchar ch(char c) {
    return static_cast<smalchar>(c);
}

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

// One series of the five operations under its five titles: product and sum
// of `factor` with mat2, the transpose of `transposed`, both hulls of `hulled`.
void series(const z_matrix& factor, const z_matrix& mat2, const z_matrix& transposed, const z_matrix& hulled,
            const std::array<std::string_view, 5>& titles) {
    z_matrix result = intmatrix::produkt(factor, mat2);
    intmatrix::drucke(result, titles[0]);
    result = intmatrix::summe(factor, mat2);
    intmatrix::drucke(result, titles[1]);
    result = intmatrix::transponiere(transposed);
    intmatrix::drucke(result, titles[2]);
    result = intmatrix::transhuelle(hulled);
    intmatrix::drucke(result, titles[3]);
    result = intmatrix::reflextranshuelle(hulled);
    intmatrix::drucke(result, titles[4]);
}

void lintaro() {
    const z_matrix mat4 = filled(false);
    const z_matrix mat5 = filled(true);
    const z_matrix mat1 =
        with_pairs({{'A', 'A'}, {'B', 'B'}, {'C', 'C'}, {'D', 'D'}, {'E', 'E'}, {'F', 'F'}});
    const z_matrix mat2 = with_pairs({{'A', 'E'},
                                      {'B', 'C'},
                                      {'B', 'D'},
                                      {'C', 'A'},
                                      {'D', 'E'},
                                      {'E', 'B'},
                                      {'E', 'D'},
                                      {'E', 'F'},
                                      {'F', 'A'}});
    const z_matrix mat3 = with_pairs({{'A', 'B'}, {'B', 'C'}});

    intmatrix::drucke(mat1, "Matrix 1");
    intmatrix::drucke(mat2, "Matrix 2");
    intmatrix::drucke(mat3, "Matrix 3");
    intmatrix::drucke(mat4, "Matrix 4");
    intmatrix::drucke(mat5, "Matrix 5");

    // The general case: product and sum with the identity, the transpose of
    // mat2 and the hulls of the chain, where each shows most.
    series(mat1, mat2, mat2, mat3,
           {"Matrix Produkt", "Matrix Summe", "Matrix transpon", "Matrix TransHuelle",
            "Matrix ReflexTransHuelle"});
    series(mat4, mat2, mat4, mat4,
           {"Matrix Produkt - Spezialfall Mat4", "Matrix Summe- Spezialfall Mat4",
            "Matrix transpon- Spezialfall Mat4", "Matrix TransHuelle- Spezialfall Mat4",
            "Matrix ReflexTransHuelle- Spezialfall Mat4"});
    series(mat5, mat2, mat5, mat5,
           {"Matrix Produkt- Spezialfall Mat5", "Matrix Summe- Spezialfall Mat5",
            "Matrix transpon- Spezialfall Mat5", "Matrix TransHuelle- Spezialfall Mat5",
            "Matrix ReflexTransHuelle- Spezialfall Mat5"});
}

}  // namespace

int main() {
    return common::run_program(&lintaro);
}
