// The whole lintaro report, compared with the tables worked out by hand.
#include <gtest/gtest.h>

#include "support/program_run.hpp"

namespace {

TEST(Lintaro, PrintsTheTwentyTables) {
    const auto result = test_support::run_program("lintaro", "");
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, test_support::read_file(test_support::data_path("grammar/lintaro.out")));
}

}  // namespace
