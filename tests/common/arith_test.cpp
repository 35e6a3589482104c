#include "common/arith.hpp"

#include <gtest/gtest.h>

#include <string>

#include "common/errors.hpp"
#include "tests/support/raised.hpp"

namespace {

using common::int32;
using common::place;
using test_support::raised;

constexpr place here{"probe", 7};
constexpr int32 first = INT32_MIN;
constexpr int32 last = INT32_MAX;

TEST(GuardedArithmetic, ResultsInsideTheRange) {
    EXPECT_EQ(common::add(last - 1, 1, here), last);
    EXPECT_EQ(common::subtract(first + 1, 1, here), first);
    EXPECT_EQ(common::multiply(-46341, 46340, here), -2147441940);
    EXPECT_EQ(common::divide(-7, 2, here), -3);
    EXPECT_EQ(common::modulo(-7, 2, here), 1);
    EXPECT_EQ(common::modulo(7, -2, here), -1);
    EXPECT_EQ(common::modulo(first, -1, here), 0);
}

TEST(GuardedArithmetic, EveryEscapeRaisesTheCheckErrorAtItsPlace) {
    const std::string expected = test_support::report(common::check_error_name, here);
    EXPECT_EQ(raised([] { common::add(last, 1, here); }), expected);
    EXPECT_EQ(raised([] { common::subtract(first, 1, here); }), expected);
    EXPECT_EQ(raised([] { common::multiply(65536, 65536, here); }), expected);
    EXPECT_EQ(raised([] { common::divide(first, -1, here); }), expected);
    EXPECT_EQ(raised([] { common::divide(1, 0, here); }), expected);
    EXPECT_EQ(raised([] { common::modulo(1, 0, here); }), expected);
    EXPECT_EQ(raised([] { common::to_int32(std::int64_t{last} + 1, here); }), expected);
}

}  // namespace
