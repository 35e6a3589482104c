#include "trace/machetrace.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "common/errors.hpp"
#include "common/textio.hpp"
#include "tests/support/capture.hpp"
#include "tests/support/machine_parts.hpp"
#include "tests/support/program_run.hpp"
#include "tests/support/raised.hpp"

namespace {

using namespace test_support;

// What a failed step leaves with, on the screen and in the trace file.
const std::string screen_error = report(bp::whileinit_error, bp::places::trace_screen);
const std::string file_error = report(bp::whileinit_error, bp::places::trace_file);

TEST(Places, TheTraceDriversReportsNameTheirFixedLines) {
    EXPECT_EQ(bp::places::step_limit_reached.text(), "baumwandler_package:40");
    EXPECT_EQ(bp::places::trace_screen.text(), "baumwandler_package:217");
    EXPECT_EQ(bp::places::trace_file.text(), "baumwandler_package:252");
}

struct run_case {
    const char* program;
    const char* expected;  // file under tests/trace/runs
    bool fails;            // a step fails: whileinit_error, no final line
};

const run_case runs[] = {
    {"x := 1", "assignment.out", false},
    {"skip", "skip.out", false},
    {"x := 0; if x < 1 then y := 2 else skip fi", "if.out", false},
    {"x := 2; while x > 0 do x := (x - 1) od", "while.out", false},
    {"if 1 = 1 then if 2 < 1 then skip else x := 1; skip fi else skip fi", "nested.out", false},
    {"x := y", "undefined.out", true},
    {"x := (1 div 0)", "div_zero.out", true},
};

std::string expected_text(const run_case& c) {
    return test_support::read_file(test_support::data_path(std::string("trace/runs/") + c.expected));
}

// Runs the file form into a fresh trace file; `text` receives what the file
// holds, and the capture what reached the screen and what was raised.
capture file_run(comtypes::grbaum b, std::string& text) {
    capture file;
    const capture screen =
        on_screen([&] { file = into_file([&](common::text_writer& ft) { bp::machetrace(b, ft); }); });
    text = file.text;
    return {screen.text, file.error + screen.error};  // one of them at most
}

TEST(Machetrace, ScreenRunWritesTheWholeTrace) {
    for (const auto& c : runs) {
        const comtypes::grbaum b = grammar_tree(c.program);
        const capture result = on_screen([&] { bp::machetrace(b); });
        EXPECT_EQ(result.text, expected_text(c)) << c.program;
        EXPECT_EQ(result.error, c.fails ? screen_error : "") << c.program;
    }
}

TEST(Machetrace, FileRunWritesTheSameLinesOnlyIntoTheFile) {
    for (const auto& c : runs) {
        std::string text;
        const capture result = file_run(grammar_tree(c.program), text);
        EXPECT_EQ(result.text, "") << c.program;
        EXPECT_EQ(text, expected_text(c)) << c.program;
        EXPECT_EQ(result.error, c.fails ? file_error : "") << c.program;
    }
}

TEST(Machetrace, TwoRunsOnOneTreeShareNothingButTheTree) {
    const comtypes::grbaum b = grammar_tree("x := 2; while x > 0 do x := (x - 1) od");
    const capture result = on_screen([&] {
        bp::machetrace(b);
        bp::machetrace(b);
    });
    const std::string once = expected_text(runs[3]);
    EXPECT_EQ(result.text, once + once);
}

TEST(Machetrace, NumberBeyond32BitsFailsBeforeAnyLine) {
    const comtypes::grbaum b = grammar_tree("x := 1; y := 2147483648");
    const capture screen = on_screen([&] { bp::machetrace(b); });
    EXPECT_EQ(screen.text, "");
    EXPECT_EQ(screen.error, report(common::check_error_name, bp::places::number_beyond_32_bits));
    std::string text;
    const capture file = file_run(b, text);
    EXPECT_EQ(text, "");
    EXPECT_EQ(file.text, "");
    EXPECT_EQ(file.error, report(common::check_error_name, bp::places::number_beyond_32_bits));
}

TEST(Trace, EndStateWritesOnlyTheFinalStore) {
    bp::zustand end;
    end.ende_zustand() = common::make<bp::umgebung_rec>(bp::variable{"x", bp::wert{1}}, nullptr);
    const capture result = on_screen([&] { bp::trace(end); });
    EXPECT_EQ(result.text, "Endspeicherbelegung: {(x, 1)}\n");
    EXPECT_EQ(result.error, "");
}

TEST(Trace, EmptyActiveStateEndsAtOnce) {
    const capture result = on_screen([] { bp::trace(bp::zustand{bp::konfiguration{}}); });
    EXPECT_EQ(result.text, "<<  ,  ,  >>\n\n-- (Ende der Auswertung)--\nEndspeicherbelegung: {}\n");
}

TEST(Trace, CheckErrorInARenderingBecomesWhileinitError) {
    // A null part on the control stack fails while its configuration renders.
    bp::konfiguration k;
    k.zk = push(nullptr);
    const capture result = on_screen([&] { bp::trace(bp::zustand{k}); });
    EXPECT_EQ(result.text, "");
    EXPECT_EQ(result.error, screen_error);
}

TEST(Trace, RunThatDoesNotEndStopsAfterTheStepLimit) {
    std::string text;
    const capture result = file_run(grammar_tree("while 1 = 1 do skip od"), text);
    EXPECT_EQ(result.error, report(common::storage_error_name, bp::places::step_limit_reached));
    // Every step wrote its three lines, and they stay written.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3 * bp::step_limit);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    EXPECT_TRUE(text.starts_with("<< "));
    EXPECT_EQ(text.find("Endspeicherbelegung"), std::string::npos);
}

// m := (1 + 1) takes 7 steps, skip 2, n := 0 4, entering the loop 1, every
// turn 14, the exit 6, the end of the program's list 1 and the end step 1.
TEST(Trace, RunOfExactlyTheStepLimitEnds) {
    constexpr long turns = (bp::step_limit - 22) / 14;
    static_assert(22 + 14 * turns == bp::step_limit);
    std::string text;
    const capture result = file_run(grammar_tree("m := (1 + 1); skip; n := 0; while n < " +
                                                 std::to_string(turns) + " do n := (n + 1) od"),
                                    text);
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3 * bp::step_limit + 1);
    const std::string end =
        "\n-- (Ende der Auswertung)--\nEndspeicherbelegung: {(n, " + std::to_string(turns) + ")(m, 2)}\n";
    ASSERT_GE(text.size(), end.size());
    EXPECT_EQ(text.substr(text.size() - end.size()), end);
}

// The README tells users that a run of 999,999 rule steps still ends and that
// one more rule step stops it: two fixed programs pin that number, whatever
// step_limit says. A list of n statements takes n steps of rule 11 and one
// of 11'; an assignment 3, and 3 more per operator; skip 1; a turn of
// while x > 0 do x := (x - 1) od takes 14 (15, x > 0: 4, 16, its list of one
// statement: 2, x := (x - 1): 6), its exit 6 (15, 4, 17).
//
// 999,999: the list of 4 statements 5, x := 71427 3, y := (1 + 1) 6, skip
// 1, the loop 14 * 71,427 + 6 = 999,984.
const std::string runs_999999_rule_steps = "x := 71427; y := (1 + 1); skip; while x > 0 do x := (x - 1) od";
// 1,000,000: the list of 3 statements 4, x := 71427 3, the if 1 + 4 + 1 +
// 2 + 1 = 9 (12, 0 = 0, 13, its list of one statement, skip), the loop
// 999,984. Its last rule step is the 11' that ends the program's list.
const std::string runs_1000000_rule_steps =
    "x := 71427; if 0 = 0 then skip else skip fi; while x > 0 do x := (x - 1) od";

TEST(Trace, RunOf999999RuleStepsEnds) {
    std::string text;
    const capture result = file_run(grammar_tree(runs_999999_rule_steps), text);
    EXPECT_EQ(result.error, "");
    // Three lines per step, the end step's included, and the final store.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3'000'001);
    const std::string end = "\n-- (Ende der Auswertung)--\nEndspeicherbelegung: {(y, 2)(x, 0)}\n";
    ASSERT_GE(text.size(), end.size());
    EXPECT_EQ(text.substr(text.size() - end.size()), end);
}

TEST(Trace, OneRuleStepMoreStopsTheRun) {
    std::string text;
    const capture result = file_run(grammar_tree(runs_1000000_rule_steps), text);
    EXPECT_EQ(result.error, report(common::storage_error_name, bp::places::step_limit_reached));
    EXPECT_EQ(bp::places::step_limit_reached.text(), "baumwandler_package:40");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3'000'000);
    const std::string end = "\n-- (11' : leere Anweisungsfolge aufloesen)--\n";
    ASSERT_GE(text.size(), end.size());
    EXPECT_EQ(text.substr(text.size() - end.size()), end);
}

TEST(Machetrace, WriterErrorPassesUnchanged) {
    const capture result = on_screen([] {
        common::out_file never_opened;
        bp::machetrace(grammar_tree("x := 1"), never_opened);
    });
    EXPECT_EQ(result.text, "");
    EXPECT_TRUE(result.error.starts_with(report_in(common::use_error_name, "textio"))) << result.error;
}

}  // namespace
