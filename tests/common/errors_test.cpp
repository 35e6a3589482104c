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

namespace {

// An internal check names the file it stands in and its own line, whatever
// folder the file lies in and whichever call passes the place on.
TEST(Place, HereNamesTheModuleAndLineOfItsCall) {
    constexpr common::place where = common::here();
    static_assert(where.module == "errors_test");
    EXPECT_EQ(where.line, __LINE__ - 2);
    EXPECT_EQ(common::module_of("frontend/comtypes.cpp"), "comtypes");
    EXPECT_EQ(common::module_of("/a/b.c/machine/baumwandler_package.hpp"), "baumwandler_package");
    try {
        common::check(false, common::here());
        FAIL() << "no check error";
    } catch (const common::named_error& error) {
        EXPECT_EQ(error.message(), "errors_test:" + std::to_string(__LINE__ - 3));
    }
}

}  // namespace
