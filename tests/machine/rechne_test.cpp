// Guarded arithmetic and comparisons on 32-bit integers.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "common/errors.hpp"
#include "machine/baumwandler_package.hpp"
#include "tests/support/raised.hpp"

namespace {

using namespace baumwandler_package;
using test_support::raised;
using test_support::report;

constexpr std::int32_t lowest = -2147483647 - 1;
constexpr std::int32_t highest = 2147483647;

struct op_case {
    operator_ op;
    std::int32_t z1;
    std::int32_t z2;
    std::int32_t result;                 // when there is no `error`
    std::optional<common::place> error;  // the place of the check error
};

TEST(RechneOp, ResultsAndErrorsWithTheirLines) {
    using enum operator_;
    const op_case cases[] = {
        {PLUS, 2, 3, 5, {}},
        {PLUS, highest, 1, 0, places::plus},
        {PLUS, lowest, -1, 0, places::plus},
        {MINUS, 10, 4, 6, {}},
        {MINUS, 4, 10, -6, {}},
        {MINUS, lowest, 1, 0, places::minus},
        {MINUS, 0, lowest, 0, places::minus},
        {MAL, 65536, 32768, 0, places::mal},
        {MAL, 65536, -32768, lowest, {}},
        {MAL, -1, lowest, 0, places::mal},
        {DIV, 7, 2, 3, {}},
        {DIV, -7, 2, -3, {}},
        {DIV, 7, -2, -3, {}},
        {DIV, -7, -2, 3, {}},
        {DIV, 0, -5, 0, {}},
        {DIV, lowest, 1, lowest, {}},
        {DIV, 5, 0, 0, places::div},
        {DIV, lowest, -1, 0, places::div},
        {MODULO, 7, 3, 1, {}},
        {MODULO, -7, 3, 2, {}},
        {MODULO, 7, -3, -2, {}},
        {MODULO, -7, -3, -1, {}},
        {MODULO, 6, -3, 0, {}},
        {MODULO, 5, 1, 0, {}},
        {MODULO, 5, -1, 0, {}},
        {MODULO, lowest, -1, 0, {}},
        {MODULO, lowest, highest, 2147483646, {}},
        {MODULO, highest, lowest, -1, {}},
        {MODULO, 5, 0, 0, places::modulo},
    };
    for (const auto& c : cases) {
        const std::string what =
            std::to_string(static_cast<int>(c.op)) + " " + std::to_string(c.z1) + " " + std::to_string(c.z2);
        if (!c.error) {
            EXPECT_EQ(rechne_op(c.op, c.z1, c.z2), c.result) << what;
            continue;
        }
        EXPECT_EQ(raised([&] { (void)rechne_op(c.op, c.z1, c.z2); }),
                  report(common::check_error_name, *c.error))
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
        {UG, 3, 3, false}, {UG, 3, 4, true},  {GG, 3, 3, true}, {GG, lowest, highest, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rechne_rel_op(c.rop, c.z1, c.z2), c.result)
            << static_cast<int>(c.rop) << " " << c.z1 << " " << c.z2;
    }
}

TEST(RechneOp, ValueOutsideTheEnumerationRaisesTheCheckError) {
    EXPECT_EQ(raised([] { (void)rechne_op(static_cast<operator_>(operator_count), 1, 1); }),
              report(common::check_error_name, places::no_operator));
    EXPECT_EQ(raised([] { (void)rechne_rel_op(static_cast<vergleicher>(comparison_count), 1, 1); }),
              report(common::check_error_name, places::no_comparison));
}

}  // namespace
