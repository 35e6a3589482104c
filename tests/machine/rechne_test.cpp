// Guarded arithmetic and comparisons on 32-bit integers.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "machine/baumwandler_package.hpp"
#include "support/raised.hpp"

namespace {

using namespace baumwandler_package;
using test_support::raised;

constexpr std::int32_t kleinste = -2147483647 - 1;
constexpr std::int32_t groesste = 2147483647;

struct op_case {
    operator_ op;
    std::int32_t z1;
    std::int32_t z2;
    std::int32_t result;  // when `line` is 0
    int line;             // the line of the check error, 0 for none
};

TEST(RechneOp, ResultsAndErrorsWithTheirLines) {
    using enum operator_;
    const op_case cases[] = {
        {PLUS, 2, 3, 5, 0},
        {PLUS, groesste, 1, 0, 277},
        {PLUS, kleinste, -1, 0, 277},
        {MINUS, 10, 4, 6, 0},
        {MINUS, 4, 10, -6, 0},
        {MINUS, kleinste, 1, 0, 279},
        {MINUS, 0, kleinste, 0, 279},
        {MAL, 65536, 32768, 0, 281},
        {MAL, 65536, -32768, kleinste, 0},
        {MAL, -1, kleinste, 0, 281},
        {DIV, 7, 2, 3, 0},
        {DIV, -7, 2, -3, 0},
        {DIV, 7, -2, -3, 0},
        {DIV, -7, -2, 3, 0},
        {DIV, 0, -5, 0, 0},
        {DIV, kleinste, 1, kleinste, 0},
        {DIV, 5, 0, 0, 283},
        {DIV, kleinste, -1, 0, 283},
        {MODULO, 7, 3, 1, 0},
        {MODULO, -7, 3, 2, 0},
        {MODULO, 7, -3, -2, 0},
        {MODULO, -7, -3, -1, 0},
        {MODULO, 6, -3, 0, 0},
        {MODULO, 5, 1, 0, 0},
        {MODULO, 5, -1, 0, 0},
        {MODULO, kleinste, -1, 0, 0},
        {MODULO, kleinste, groesste, 2147483646, 0},
        {MODULO, groesste, kleinste, -1, 0},
        {MODULO, 5, 0, 0, 285},
    };
    for (const auto& c : cases) {
        const std::string what =
            std::to_string(static_cast<int>(c.op)) + " " + std::to_string(c.z1) + " " + std::to_string(c.z2);
        if (c.line == 0) {
            EXPECT_EQ(rechne_op(c.op, c.z1, c.z2), c.result) << what;
            continue;
        }
        EXPECT_EQ(raised([&] { (void)rechne_op(c.op, c.z1, c.z2); }),
                  "CHECK_ERROR : baumwandler_package:" + std::to_string(c.line))
            << what;
    }
}

struct rel_case {
    vergleicher rop;
    std::int32_t z1;
    std::int32_t z2;
    bool result;
};

TEST(RechneRelOp, ComparisonsAreSigned) {
    using enum vergleicher;
    const rel_case cases[] = {
        {KL, -1, 0, true}, {KL, 3, 2, false}, {GL, 3, 3, true}, {GL, 3, -3, false},
        {GR, 0, -1, true}, {GR, 2, 3, false}, {KG, 3, 3, true}, {KG, 4, 3, false},
        {UG, 3, 3, false}, {UG, 3, 4, true},  {GG, 3, 3, true}, {GG, kleinste, groesste, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rechne_rel_op(c.rop, c.z1, c.z2), c.result)
            << static_cast<int>(c.rop) << " " << c.z1 << " " << c.z2;
    }
}

TEST(RechneOp, ValueOutsideTheEnumerationRaisesTheCheckError) {
    EXPECT_EQ(raised([] { (void)rechne_op(static_cast<operator_>(5), 1, 1); }),
              "CHECK_ERROR : baumwandler_package:276");
    EXPECT_EQ(raised([] { (void)rechne_rel_op(static_cast<vergleicher>(6), 1, 1); }),
              "CHECK_ERROR : baumwandler_package:296");
}

}  // namespace
