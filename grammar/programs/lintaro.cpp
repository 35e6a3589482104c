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

    // The twenty tables in the order in which they are printed, each title
    // with its matrix: the five matrices, then product, sum, transpose and
    // both hulls of the general case, of mat4 and of mat5. The second
    // operand of a product or a sum is mat2; the general case transposes
    // mat2 and takes the hulls of the chain mat3, where each shows most.
    const struct {
        std::string_view title;
        z_matrix matrix;
    } tables[]{
        {"Matrix 1", mat1},
        {"Matrix 2", mat2},
        {"Matrix 3", mat3},
        {"Matrix 4", mat4},
        {"Matrix 5", mat5},
        {"Matrix Produkt", intmatrix::produkt(mat1, mat2)},
        {"Matrix Summe", intmatrix::summe(mat1, mat2)},
        {"Matrix transpon", intmatrix::transponiere(mat2)},
        {"Matrix TransHuelle", intmatrix::transhuelle(mat3)},
        {"Matrix ReflexTransHuelle", intmatrix::reflextranshuelle(mat3)},
        {"Matrix Produkt - Spezialfall Mat4", intmatrix::produkt(mat4, mat2)},
        {"Matrix Summe- Spezialfall Mat4", intmatrix::summe(mat4, mat2)},
        {"Matrix transpon- Spezialfall Mat4", intmatrix::transponiere(mat4)},
        {"Matrix TransHuelle- Spezialfall Mat4", intmatrix::transhuelle(mat4)},
        {"Matrix ReflexTransHuelle- Spezialfall Mat4", intmatrix::reflextranshuelle(mat4)},
        {"Matrix Produkt- Spezialfall Mat5", intmatrix::produkt(mat5, mat2)},
        {"Matrix Summe- Spezialfall Mat5", intmatrix::summe(mat5, mat2)},
        {"Matrix transpon- Spezialfall Mat5", intmatrix::transponiere(mat5)},
        {"Matrix TransHuelle- Spezialfall Mat5", intmatrix::transhuelle(mat5)},
        {"Matrix ReflexTransHuelle- Spezialfall Mat5", intmatrix::reflextranshuelle(mat5)},
    };
    for (const auto& table : tables) {
        intmatrix::drucke(table.matrix, table.title);
    }
}

}  // namespace

int main() {
    return common::run_program(&lintaro);
}
