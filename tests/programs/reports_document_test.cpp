// REPORTS.md shows the nine reports that need no input whole, one fenced
// block each under the heading that names the program; a reader copies them
// blank for blank. Each block must be the program's expected output, and each
// piece of a report that the README quotes must stand in one, so neither
// document can drift from what the programs print.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/program_run.hpp"

namespace {

const std::vector<std::string> programs = {"tamsel",  "orvane", "pirrel", "dunmor", "ruskel",
                                           "lintaro", "zorbel", "halvik", "quenmar"};

constexpr std::string_view opening_fence = "```text";
constexpr std::string_view closing_fence = "```";

// The lines of a document at the top of the source tree.
std::vector<std::string> document_lines(std::string_view name) {
    std::istringstream in(test_support::read_file(test_support::data_path("../" + std::string(name))));
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
    const std::vector<std::string> lines = document_lines("REPORTS.md");
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
TEST(ReportDocuments, HoldsOneBlockPerProgram) {
    const std::vector<std::string> lines = document_lines("REPORTS.md");
    EXPECT_EQ(std::ranges::count(lines, std::string(opening_fence)),
              static_cast<std::ptrdiff_t>(programs.size()));
}

// The README's sections on these programs quote pieces of their reports in
// text blocks: each piece is a run of whole lines of one report.
TEST(ReportDocuments, ReadmePiecesStandInTheReports) {
    const std::vector<std::string> lines = document_lines("README.md");
    const auto first = std::ranges::find(lines, std::string("## The grammar programs"));
    const auto automata = std::ranges::find(lines, std::string("## The automata programs"));
    ASSERT_NE(first, lines.end());
    ASSERT_NE(automata, lines.end());
    const auto last =
        std::find_if(automata + 1, lines.end(), [](const std::string& l) { return l.starts_with("## "); });
    std::vector<std::string> reports;
    for (const std::string& program : programs) {
        reports.push_back(test_support::expected_output(program + ".out"));
    }
    int pieces = 0;
    for (auto at = first; at != last; ++at) {
        if (*at != opening_fence) {
            continue;
        }
        std::string piece;
        for (++at; at != last && *at != closing_fence; ++at) {
            piece += *at + '\n';
        }
        ASSERT_NE(at, last) << "a text block is not closed";
        ++pieces;
        const auto holds_piece = [&](const std::string& report) {
            return report.starts_with(piece) || report.find('\n' + piece) != std::string::npos;
        };
        EXPECT_TRUE(std::ranges::any_of(reports, holds_piece)) << piece;
    }
    EXPECT_GT(pieces, 0);
}

}  // namespace
