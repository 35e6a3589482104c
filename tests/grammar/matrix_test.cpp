// Boolean matrices: the operations and hulls on their edge cases, and the
// 0/1 table layout for character, integer and enumeration indices.
#include "grammar/matrix.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <utility>

#include "tests/grammar/matrix_test_symbols.hpp"
#include "tests/support/capture.hpp"
#include "tests/support/reference_matrix.hpp"

namespace {

using namespace matrix_tests;
using test_support::on_screen;
namespace m = grammar::matrix;
using lm = m::z_matrix<letter>;

const lm identity = cells<letter>("AA BB CC DD EE FF");
const lm mat2 = cells<letter>("AE BC BD CA DE EB ED EF FA");
const lm chain = cells<letter>("AB BC");
const lm none = filled<letter>(false);
const lm all = filled<letter>(true);
const std::string all_cells = cells_of(all);

struct binary_case {
    const char* name;
    lm left;
    lm right;
    std::string product;
};

TEST(Matrix, ProductOnItsEdgeCases) {
    const binary_case cases[] = {
        {"identity first", identity, mat2, "AE BC BD CA DE EB ED EF FA"},
        {"all False first", none, mat2, ""},
        {"all False second", mat2, none, ""},
        {"all True times full columns", all, mat2, all_cells},
        {"chain squared", chain, chain, "AC"},
        {"two steps of mat2", mat2, mat2, "AB AD AF BA BE CE DB DD DF EA EC ED EE FE"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cells_of(m::produkt(c.left, c.right)), c.product) << c.name;
        // The composition, first left then right, is the same relation.
        EXPECT_EQ(m::transition(c.left, c.right), m::produkt(c.left, c.right)) << c.name;
    }
}

// Every cell by its definition, on pairs of generated matrices from empty to
// full, over index types of three and six values.
template <class Z>
void product_agrees_with_its_definition() {
    std::mt19937 random(20261211);
    for (int pair = 0; pair < 400; ++pair) {
        // From sparse to dense: each cell true with a chance of pair / 400.
        std::bernoulli_distribution cell(pair / 400.0);
        m::z_matrix<Z> left;
        m::z_matrix<Z> right;
        for (Z i : grammar::all_symbols<Z>()) {
            for (Z j : grammar::all_symbols<Z>()) {
                left[i][j] = cell(random);
                right[i][j] = cell(random);
            }
        }
        ASSERT_TRUE(m::produkt(left, right) == test_support::reference_produkt(left, right))
            << "pair " << pair;
    }
}

TEST(Matrix, ProductAgreesWithItsDefinition) {
    product_agrees_with_its_definition<letter>();
    product_agrees_with_its_definition<number>();
}

// A matrix is a value: a copy has cells of its own, and a matrix moved from
// takes a new value by assignment.
TEST(Matrix, CopiesAreValuesOfTheirOwn) {
    lm copy = chain;
    copy[L('A')][L('A')] = true;
    EXPECT_EQ(cells_of(chain), "AB BC");
    EXPECT_EQ(cells_of(copy), "AA AB BC");
    lm moved = std::move(copy);
    EXPECT_EQ(cells_of(moved), "AA AB BC");
    copy = mat2;  // NOLINT(bugprone-use-after-move): assigning is what a moved-from matrix allows
    EXPECT_EQ(copy, mat2);
    moved = copy;
    copy[L('F')][L('A')] = false;
    EXPECT_EQ(moved, mat2);
}

TEST(Matrix, SumIsElementwiseOr) {
    EXPECT_EQ(cells_of(m::summe(identity, mat2)), "AA AE BB BC BD CA CC DD DE EB ED EE EF FA FF");
    EXPECT_EQ(m::summe(none, mat2), mat2);
    EXPECT_EQ(m::summe(all, mat2), all);
}

TEST(Matrix, Transpose) {
    EXPECT_EQ(cells_of(m::transponiere(mat2)), "AC AF BE CB DB DE EA ED FE");
    const lm symmetric = cells<letter>("AB BA CC EF FE");
    EXPECT_EQ(m::transponiere(symmetric), symmetric);
    EXPECT_EQ(cells_of(m::transponiere(cells<letter>("FA"))), "AF");  // the last row takes part
    EXPECT_EQ(m::transponiere(none), none);
    EXPECT_EQ(m::transponiere(all), all);
}

struct hull_case {
    const char* name;
    lm operand;
    std::string transitive;
    std::string reflexive_transitive;
};

TEST(Matrix, Hulls) {
    const std::string diagonal = "AA BB CC DD EE FF";
    const hull_case cases[] = {
        {"all False", none, "", diagonal},
        {"all True", all, all_cells, all_cells},
        {"chain", chain, "AB AC BC", "AA AB AC BB BC CC DD EE FF"},
        // A diagonal cell only where a cycle passes.
        {"cycle", cells<letter>("AB BA"), "AA AB BA BB", "AA AB BA BB CC DD EE FF"},
        {"loop", cells<letter>("CC"), "CC", diagonal},
        // The longest path needs every one of the rounds.
        {"long chain", cells<letter>("AB BC CD DE EF"), "AB AC AD AE AF BC BD BE BF CD CE CF DE DF EF",
         "AA AB AC AD AE AF BB BC BD BE BF CC CD CE CF DD DE DF EE EF FF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cells_of(m::transhuelle(c.operand)), c.transitive) << c.name;
        EXPECT_EQ(cells_of(m::reflextranshuelle(c.operand)), c.reflexive_transitive) << c.name;
    }
}

TEST(Matrix, TableOverCharacters) {
    const std::string expected =
        "\n\nMatrix 3\n\n"
        "      'A''B''C''D''E''F'\n\n"
        "'A' :  0  1  0  0  0  0\n"
        "'B' :  0  0  1  0  0  0\n"
        "'C' :  0  0  0  0  0  0\n"
        "'D' :  0  0  0  0  0  0\n"
        "'E' :  0  0  0  0  0  0\n"
        "'F' :  0  0  0  0  0  0\n"
        "\n";
    EXPECT_EQ(m::text_of(chain, "Matrix 3"), expected);

    const auto screen = on_screen([&] { m::drucke(chain, "Matrix 3"); });
    EXPECT_EQ(screen.error, "");
    EXPECT_EQ(screen.text, expected);
}

TEST(Matrix, TableOverIntegersFromOne) {
    m::z_matrix<number> one{};
    one[static_cast<number>(1)][static_cast<number>(1)] = true;
    EXPECT_EQ(m::text_of(one, "T"),
              "\n\nT\n\n"
              "      1  2  3 \n\n"
              " 1 :  1  0  0\n"
              " 2 :  0  0  0\n"
              " 3 :  0  0  0\n"
              "\n");
}

TEST(Matrix, TableOverEnumerationIsNotAligned) {
    m::z_matrix<parentheses> z{};
    z[parentheses::S][parentheses::ENDE] = true;
    EXPECT_EQ(m::text_of(z, ""),
              "\n\n\n\n"
              "      SAUFZU'#'\n\n"
              "S :  0  0  0  1\n"
              "AUF :  0  0  0  0\n"
              "ZU :  0  0  0  0\n"
              "'#' :  0  0  0  0\n"
              "\n");
}

}  // namespace
