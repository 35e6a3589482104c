// The complete reports of the five grammar programs, byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "support/program_run.hpp"

namespace {

class GrammarProgram : public testing::TestWithParam<std::string> {};

TEST_P(GrammarProgram, PrintsItsWholeReport) {
    const std::string program = GetParam();
    const auto result = test_support::run_program(program, "");
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, test_support::read_file(test_support::data_path("grammar/" + program + ".out")));
}

INSTANTIATE_TEST_SUITE_P(Reports, GrammarProgram,
                         testing::Values("ruskel", "orvane", "pirrel", "dunmor", "tamsel"),
                         [](const auto& info) { return info.param; });

}  // namespace
