#include "common/errors.hpp"

#include <gtest/gtest.h>

namespace {

TEST(NamedError, TheSystemsOwnErrorsHaveTheirNames) {
    EXPECT_EQ(common::check_error_name, "CHECK_ERROR");
    EXPECT_EQ(common::name_error_name, "NAME_ERROR");
    EXPECT_EQ(common::use_error_name, "USE_ERROR");
    EXPECT_EQ(common::end_error_name, "END_ERROR");
    EXPECT_EQ(common::storage_error_name, "STORAGE_ERROR");
    EXPECT_EQ(common::program_error_name, "PROGRAM_ERROR");
}

TEST(NamedError, IsTakesOnlyItsOwnWholeName) {
    const common::named_error error("PROBE.NAMED_ERROR", "probe:7");
    EXPECT_TRUE(error.is("PROBE.NAMED_ERROR"));
    EXPECT_FALSE(error.is("PROBE"));
    EXPECT_FALSE(error.is("PROBE.NAMED_ERROR "));
    EXPECT_FALSE(error.is("probe.named_error"));
    EXPECT_FALSE(error.is("probe:7"));  // the message is not the name
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
