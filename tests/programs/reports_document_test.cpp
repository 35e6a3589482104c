// REPORTS.md shows the nine reports that need no input whole, one fenced
// block each under the heading that names the program; a reader copies them
// blank for blank. Each block must be the program's expected output, so the
// document cannot drift from what the programs print.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "support/program_run.hpp"

namespace {

const std::vector<std::string> programs = {"tamsel",  "orvane", "pirrel", "dunmor", "ruskel",
                                           "lintaro", "zorbel", "halvik", "quenmar"};

constexpr std::string_view opening_fence = "```text";
constexpr std::string_view closing_fence = "```";

std::vector<std::string> document_lines() {
    std::istringstream in(test_support::read_file(test_support::data_path("../REPORTS.md")));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// A program's heading is "## `NAME`", maybe followed by a description.
bool is_heading_of(const std::string& line, const std::string& program) {
    return line.starts_with("## `" + program + "`");
}

class ReportsDocument : public testing::TestWithParam<std::string> {};

// The block after the program's one heading: the opening fence on the next
// line but one, every line up to the closing fence with its line end.
TEST_P(ReportsDocument, BlockIsTheExpectedReport) {
    const std::string& program = GetParam();
    const std::vector<std::string> lines = document_lines();
    const auto is_heading = [&](const std::string& line) { return is_heading_of(line, program); };
    ASSERT_EQ(std::ranges::count_if(lines, is_heading), 1) << "headings of " << program;
    std::size_t at = static_cast<std::size_t>(std::ranges::find_if(lines, is_heading) - lines.begin()) + 2;
    ASSERT_LT(at, lines.size());
    ASSERT_EQ(lines[at - 1], "");
    ASSERT_EQ(lines[at], opening_fence);
    std::string block;
    for (++at; at < lines.size() && lines[at] != closing_fence; ++at) {
        block += lines[at] + '\n';
    }
    ASSERT_LT(at, lines.size()) << "the block of " << program << " is not closed";
    EXPECT_EQ(block, test_support::expected_output(program + ".out"));
}

INSTANTIATE_TEST_SUITE_P(Reports, ReportsDocument, testing::ValuesIn(programs),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

// No block stands beside the nine: each has its program's heading.
TEST(ReportsDocumentWhole, HoldsOneBlockPerProgram) {
    const std::vector<std::string> lines = document_lines();
    EXPECT_EQ(std::ranges::count(lines, std::string(opening_fence)),
              static_cast<std::ptrdiff_t>(programs.size()));
}

}  // namespace
