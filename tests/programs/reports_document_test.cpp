// REPORTS.md shows the nine reports that need no input whole, one fenced
// block each under the heading that names the program; a reader copies them
// blank for blank. Each block must be the program's expected output, and each
// piece of a report that the README quotes must stand in the report of the
// program whose section quotes it, so neither document can drift from what
// the programs print.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/support/markdown.hpp"
#include "tests/support/program_run.hpp"

namespace {

using test_support::fenced_block;

const std::vector<std::string> programs = {"tamsel",  "orvane", "pirrel", "dunmor", "ruskel",
                                           "lintaro", "zorbel", "halvik", "quenmar"};

// A program's heading is "## `NAME`", maybe followed by a description.
bool is_heading_of(const std::string& line, const std::string& program) {
    return line.starts_with("## `" + program + "`");
}

class ReportsDocument : public testing::TestWithParam<std::string> {};

// The block after the program's one heading: the opening fence on the next
// line but one, every line up to the closing fence with its line end.
TEST_P(ReportsDocument, BlockIsTheExpectedReport) {
    const std::string& program = GetParam();
    const test_support::document reports = test_support::read_document("REPORTS.md");
    const auto& lines = reports.lines;
    const auto is_heading = [&](const std::string& line) { return is_heading_of(line, program); };
    ASSERT_EQ(std::ranges::count_if(lines, is_heading), 1) << "headings of " << program;
    const auto heading = static_cast<std::size_t>(std::ranges::find_if(lines, is_heading) - lines.begin());
    ASSERT_LT(heading + 2, lines.size());
    ASSERT_EQ(lines[heading + 1], "");
    const std::vector<fenced_block> blocks = test_support::fenced_blocks(reports);
    const auto block = std::ranges::find(blocks, heading + 2, &fenced_block::fence);
    ASSERT_NE(block, blocks.end()) << reports.place(heading + 2) << ": no block under the heading";
    EXPECT_EQ(block->info, "text") << reports.place(block->fence);
    EXPECT_TRUE(test_support::shows(reports, *block, test_support::expected_output(program + ".out")));
    EXPECT_EQ(std::ranges::count(block->lines, std::string(test_support::left_out_mark)), 0)
        << "a report stands whole";
}

INSTANTIATE_TEST_SUITE_P(Reports, ReportsDocument, testing::ValuesIn(programs),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

// No block stands beside the nine: each has its program's heading.
TEST(ReportDocuments, HoldsOneBlockPerProgram) {
    const test_support::document reports = test_support::read_document("REPORTS.md");
    EXPECT_EQ(test_support::fenced_blocks(reports).size(), programs.size());
}

// The README's sections on these programs quote pieces of their reports in
// text blocks with no command before them: each piece shows lines of the
// report of the program that its section names, as shows() reads a block.
TEST(ReportDocuments, ReadmePiecesStandInTheReports) {
    const test_support::document readme = test_support::read_document("README.md");
    const std::vector<fenced_block> blocks = test_support::fenced_blocks(readme);
    std::set<std::string> quoted;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const fenced_block* before = test_support::block_before(readme, blocks, i);
        if (blocks[i].info != "text" || (before != nullptr && before->info == "sh")) {
            continue;
        }
        const std::optional<std::string> program =
            test_support::section_program(readme, blocks[i].fence, programs);
        if (!program) {
            continue;  // no report's piece: the README's own test finds it
        }
        quoted.insert(*program);
        EXPECT_TRUE(test_support::shows(readme, blocks[i], test_support::expected_output(*program + ".out")))
            << "a piece of " << *program;
    }
    // Every program but tamsel and pirrel, whose sections show no output.
    EXPECT_EQ(quoted, std::set<std::string>(
                          {"orvane", "dunmor", "ruskel", "lintaro", "zorbel", "halvik", "quenmar"}));
}

}  // namespace
