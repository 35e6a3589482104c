#include "common/errors.hpp"

#include <gtest/gtest.h>

namespace {

TEST(NamedError, IsTakesOnlyItsOwnWholeName) {
    const common::named_error error("BAUMWANDLER_PACKAGE.WHILEINIT_ERROR", "baumwandler_package:217");
    EXPECT_TRUE(error.is("BAUMWANDLER_PACKAGE.WHILEINIT_ERROR"));
    EXPECT_FALSE(error.is("BAUMWANDLER_PACKAGE"));
    EXPECT_FALSE(error.is("BAUMWANDLER_PACKAGE.WHILEINIT_ERROR "));
    EXPECT_FALSE(error.is("baumwandler_package.whileinit_error"));
    EXPECT_FALSE(error.is("baumwandler_package:217"));  // the message is not the name
}

}  // namespace
