// The three automata programs, run whole: their complete standard output.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "support/program_run.hpp"

namespace {

struct program_case {
    const char* program;
    const char* expected;  // file below tests/
};

void PrintTo(const program_case& c, std::ostream* os) {
    *os << c.program;
}

class AutomataProgram : public testing::TestWithParam<program_case> {};

TEST_P(AutomataProgram, PrintsItsReportAndEndsNormally) {
    const program_case& c = GetParam();
    const test_support::program_result run = test_support::run_program(c.program, "");
    EXPECT_EQ(run.signal, 0);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, test_support::read_file(test_support::data_path(c.expected)));
}

INSTANTIATE_TEST_SUITE_P(Reports, AutomataProgram,
                         testing::Values(program_case{"zorbel", "automata/zorbel.out"},
                                         program_case{"halvik", "automata/halvik.out"},
                                         program_case{"quenmar", "automata/quenmar.out"}),
                         [](const testing::TestParamInfo<program_case>& info) {
                             return std::string(info.param.program);
                         });

}  // namespace
