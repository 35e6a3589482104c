// The figures that the README's prose states: how many lines a report has,
// how many lines a block before a left-out mark shows, the range of the
// examples' rule steps, and the size of two traces. Each is read from its
// own sentence, so that changing a figure, or what it counts, fails here.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tests/support/markdown.hpp"
#include "tests/support/program_run.hpp"

namespace {

using test_support::readme;
using test_support::sentence;
using test_support::sentence_with;

// A pattern's blanks take words and code spans; a figure is digits, grouped
// by commas or not, or a word up to twenty.
TEST(ReadmeFigures, PatternsAndFiguresReadAsTheirHelpersSay) {
    struct filled_case {
        std::string text;
        std::string pattern;
        std::optional<std::vector<std::string>> blanks;
    };
    const filled_case filled[] = {
        {"each ends after 42 to 374 rule steps (see", "after {} to {} rule steps", {{"42", "374"}}},
        {"the file holds 6,836 bytes.", "holds {} bytes", {{"6,836"}}},
        {"over the states 0 to 3", "the states {} to {}", {{"0", "3"}}},
        {"ends at 7.", "at {}", {{"7"}}},  // a last blank without its full stop
        {"the first two lines empty, its first 34 lines:",
         "first {} lines:",
         {{"34"}}},                                                       // a word has no blank
        {"xlines 3 lines", "{} lines", {{"3"}}},                          // a first blank begins a word
        {"the word (`\"ab \"` keeps it)", "(`{}` keeps", {{"\"ab \""}}},  // a span keeps its blanks
        {"a span `` `div` `` here", "span `{}` here", std::nullopt},      // ... and holds no backquote
        {"in the order 1-2, 1-3: done", "order {}-{}, {}-{}:", {{"1", "2", "1", "3"}}},
        {"no such words", "such {} here", std::nullopt},
    };
    for (const filled_case& c : filled) {
        const auto read = test_support::fill_in(c.text, c.pattern);
        EXPECT_EQ(read.has_value(), c.blanks.has_value()) << c.text << " as " << c.pattern;
        if (read && c.blanks) {
            EXPECT_EQ(read->blanks, *c.blanks) << c.text << " as " << c.pattern;
        }
    }
    const std::pair<std::string, std::optional<std::size_t>> figures[] = {
        {"0", 0},
        {"42", 42},
        {"1000", 1000},
        {"6,836", 6836},
        {"1,000,000", 1000000},
        {"686,276,302", 686276302},
        {"twelve", 12},
        {"twenty", 20},
        {"1,00", std::nullopt},
        {"12,3456", std::nullopt},
        {",123", std::nullopt},
        {"1234,567", std::nullopt},
        {"x", std::nullopt},
        {"3-4", std::nullopt},
    };
    for (const auto& [word, value] : figures) {
        EXPECT_EQ(test_support::figure(word), value) << word;
    }
}

const std::vector<std::string> report_programs = {"tamsel",  "orvane", "pirrel", "dunmor", "ruskel",
                                                  "lintaro", "zorbel", "halvik", "quenmar"};

// The line counts of whole reports, each in its program's section.
TEST(ReadmeFigures, ReportsHoldTheLinesTheReadmeCounts) {
    struct stated_count {
        std::string program;
        std::string pattern;  // its one blank the count
    };
    const stated_count counts[] = {
        {"lintaro", "The twenty tables make {} lines."},
        {"zorbel", "the report is these {} lines, with no empty line among them"},
        {"halvik", "so the report's {} lines end with an empty one"},
        {"quenmar",
         "and one empty line follows each, the last included: {} lines, the report's last line empty"},
    };
    for (const stated_count& c : counts) {
        const sentence s = sentence_with(readme(), c.pattern);
        EXPECT_EQ(test_support::section_program(readme(), s.line, report_programs), c.program) << s.place;
        EXPECT_EQ(test_support::lines_of(test_support::report_of(c.program)).lines.size(), s.number(0))
            << s.place << ": the lines of " << c.program;
    }
}

// A sentence that counts the lines of the block after it: the block shows
// that many lines at the report's start (end), then (after) a mark for the
// rest. What the lines are, the check of the pieces against the reports
// holds.
TEST(ReadmeFigures, BlocksShowTheLinesTheirSentencesCount) {
    struct counted_block {
        std::string pattern;
        bool first;  // the first lines of the report, else the last
    };
    const counted_block counted[] = {
        {"The listing of `orvane`, the program's first {} lines:", true},
        {"The last {} lines of the report:", false},
        {"Its first {} lines:", true},
    };
    const auto blocks = test_support::fenced_blocks(readme());
    const std::string mark(test_support::left_out_mark);
    for (const counted_block& c : counted) {
        const sentence s = sentence_with(readme(), c.pattern);
        const auto block = std::ranges::find_if(blocks, [&](const auto& b) { return b.fence > s.line; });
        ASSERT_NE(block, blocks.end()) << s.place << ": no block after the sentence";
        const std::size_t n = s.number(0);
        const std::vector<std::string>& lines = block->lines;
        ASSERT_EQ(lines.size(), n + 1) << readme().place(block->fence) << ": " << n << " lines and a mark";
        EXPECT_EQ(c.first ? lines.back() : lines.front(), mark) << readme().place(block->fence);
        EXPECT_EQ(std::ranges::count(lines, mark), 1) << readme().place(block->fence);
    }
}

// "The listing of `orvane`, the program's first 34 lines": the listing is
// every line up to the first empty one after "Regeln:".
TEST(ReadmeFigures, OrvanesListingIsItsFirstLines) {
    const sentence s = sentence_with(readme(), "The listing of `orvane`, the program's first {} lines:");
    const std::vector<std::string> report = test_support::lines_of(test_support::report_of("orvane")).lines;
    const auto rules = std::ranges::find(report, "Regeln:");
    ASSERT_NE(rules, report.end());
    const auto listing_end = std::find(rules, report.end(), "");
    EXPECT_EQ(static_cast<std::size_t>(listing_end - report.begin()), s.number(0)) << s.place;
}

// Limits: "Each example below ends long before it, after 42 to 374 rule
// steps": the least and the most steps of the table of examples, which the
// examples' own test holds against their traces.
TEST(ReadmeFigures, LimitsGiveTheExamplesLeastAndMostSteps) {
    const sentence s =
        sentence_with(readme(), "Each example below ends long before it, after {} to {} rule steps");
    const auto examples =
        test_support::table_with_header(readme(), {"file", "what it computes", "steps", "final store"});
    std::vector<std::size_t> steps;
    for (const auto& row : examples.rows) {
        const auto n = test_support::figure(row.cells.at(2));
        ASSERT_TRUE(n.has_value()) << readme().place(row.line);
        steps.push_back(*n);
    }
    ASSERT_FALSE(steps.empty()) << readme().place(examples.line);
    EXPECT_EQ(std::ranges::min(steps), s.number(0)) << s.place;
    EXPECT_EQ(std::ranges::max(steps), s.number(1)) << s.place;
}

// What a trace file takes: its bytes, its lines, and those of its lines
// that are rule lines, which begin with "-- (".
class trace_count {
public:
    void take(std::string_view piece) {
        bytes_ += piece.size();
        for (std::size_t at = 0; at < piece.size();) {
            if (head_ < mark.size()) {  // the first characters of a line
                const char c = piece[at++];
                if (c == '\n') {
                    end_line();
                    continue;
                }
                rule_ = rule_ && c == mark[head_];
                ++head_;
                rule_lines_ += head_ == mark.size() && rule_ ? 1 : 0;
                continue;
            }
            const std::size_t end = piece.find('\n', at);
            if (end == std::string_view::npos) {
                break;
            }
            at = end + 1;
            end_line();
        }
    }
    [[nodiscard]] std::size_t bytes() const { return bytes_; }
    [[nodiscard]] std::size_t lines() const { return lines_ + (head_ > 0 ? 1 : 0); }  // a last line unended
    [[nodiscard]] std::size_t rule_lines() const { return rule_lines_; }

private:
    static constexpr std::string_view mark = "-- (";
    void end_line() {
        ++lines_;
        head_ = 0;
        rule_ = true;
    }
    std::size_t bytes_ = 0;
    std::size_t lines_ = 0;
    std::size_t rule_lines_ = 0;
    std::size_t head_ = 0;  // the characters of the line taken so far, up to the mark's length
    bool rule_ = true;
};

struct counted_run {
    test_support::program_result result;
    trace_count trace;
};

// counted_trace runs velkor on `program` typed at the console, with a trace
// file and no tree file. The trace file is a pipe that the test reads as
// velkor writes it, counting and keeping nothing: a long trace takes no room
// on disk or in memory.
counted_run counted_trace(const std::string& program) {
    const test_support::scratch_folder work;
    const std::string name = "trace";
    const std::string pipe = (work.path() / name).string();
    counted_run run;
    if (::mkfifo(pipe.c_str(), 0600) != 0) {
        ADD_FAILURE() << "no pipe " << pipe;
        return run;
    }
    std::atomic<bool> opened = false;
    std::thread reader([&] {
        const int in = ::open(pipe.c_str(), O_RDONLY | O_CLOEXEC);
        opened = true;
        std::vector<char> buffer(std::size_t{1} << 16);
        for (ssize_t count = 0; in >= 0;) {
            count = ::read(in, buffer.data(), buffer.size());
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count <= 0) {
                break;
            }
            run.trace.take({buffer.data(), static_cast<std::size_t>(count)});
        }
        if (in >= 0) {
            ::close(in);
        }
    });
    run.result = test_support::run_program("velkor", "c\n" + name + "\n\n" + program + "\nn\n", work.path());
    // A velkor that never opened its trace file leaves the reader waiting
    // for a writer: one comes and goes.
    while (!opened) {
        const int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (writer >= 0) {
            ::close(writer);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    reader.join();
    return run;
}

// Long output: the loop of 40 assignments runs to the step limit and writes
// the bytes and lines, three per step, that the sentence gives, and the
// screen shows no trace; without its first assignment it stops at once,
// after the bytes of the next sentence.
TEST(ReadmeFigures, LongOutputWritesTheTracesTheReadmeMeasures) {
    const sentence loop =
        sentence_with(readme(),
                      "`{}` followed by {} assignments `{}` and `{}` writes {} bytes ({} lines, "
                      "three per step) into its trace file before `{}`.");
    const sentence limit = sentence_with(readme(), "stops at the step limit of {} steps");
    const sentence screen =
        sentence_with(readme(), "The file run comes first, so the screen then shows no trace at all.");
    const sentence without =
        sentence_with(readme(),
                      "Without `{}` in front the same loop ends at once: its first assignment "
                      "reads the undefined x, `velkor` prints `{}`, and the trace file holds "
                      "{} bytes.");
    std::string program = loop.blanks.at(0);
    for (std::size_t i = 0; i < loop.number(1); ++i) {
        program += i == 0 ? " " : "; ";
        program += loop.blanks.at(2);
    }
    program += " " + loop.blanks.at(3);
    const std::string trace_line = "   Der Trace: \n";

    const counted_run endless = counted_trace(program);
    EXPECT_EQ(endless.result.status, 1) << loop.place;
    EXPECT_EQ(endless.result.err, "\n" + loop.blanks.at(6) + "\n") << loop.place;
    EXPECT_TRUE(endless.result.out.ends_with(trace_line)) << screen.place;
    EXPECT_EQ(endless.trace.bytes(), loop.number(4)) << loop.place;
    EXPECT_EQ(endless.trace.lines(), loop.number(5)) << loop.place;
    EXPECT_EQ(endless.trace.lines(), 3 * endless.trace.rule_lines()) << loop.place << ": three per step";
    EXPECT_EQ(endless.trace.rule_lines(), limit.number(0)) << limit.place;

    const std::string& first = without.blanks.at(0);
    ASSERT_TRUE(program.starts_with(first + " "))
        << without.place << ": the loop does not begin with " << first;
    const counted_run stopped = counted_trace(program.substr(first.size() + 1));
    EXPECT_EQ(stopped.result.status, 0) << without.place;
    EXPECT_EQ(stopped.result.err, "") << without.place;
    EXPECT_TRUE(stopped.result.out.ends_with(trace_line + without.blanks.at(1) + "\n")) << without.place;
    EXPECT_EQ(stopped.trace.bytes(), without.number(2)) << without.place;
}

}  // namespace
