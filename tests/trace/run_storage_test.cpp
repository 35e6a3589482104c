// What a trace run builds (environment, stacks, abstract syntax) is given
// back when the run ends, however it ends: a session of many runs needs the
// storage of its largest run, not of all of them.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "tests/support/arena_watch.hpp"
#include "tests/support/capture.hpp"
#include "tests/support/while_tree.hpp"
#include "trace/machetrace.hpp"

namespace {

namespace bp = baumwandler_package;
using test_support::grammar_tree;

struct run_case {
    const char* what;
    std::string program;
    std::string_view error;  // the name of the error that leaves the run; empty when none
};

TEST(MachetraceStorage, EveryRunGivesBackWhatItBuilt) {
    const run_case cases[] = {
        {"a loop of 28,000 steps", "n := 0; while n < 2000 do n := (n + 1) od", ""},
        {"names longer than a short string", "zaehlermitlangemnamen := 1; y := zaehlermitlangemnamen", ""},
        {"a step that fails", "x := 1; while x < 5 do x := (x + y) od", bp::whileinit_error},
        {"a number beyond 32 bits", "x := 1; y := 2147483648", common::check_error_name},
    };
    for (const auto& c : cases) {
        const comtypes::grbaum b = grammar_tree(c.program);
        const common::arena_mark before = common::arena_position();
        const test_support::capture file =
            test_support::into_file([&](common::text_writer& ft) { bp::machetrace(b, ft); });
        EXPECT_TRUE(test_support::arena_stands_at(before)) << c.what << ": file run";
        const test_support::capture screen = test_support::on_screen([&] { bp::machetrace(b); });
        EXPECT_TRUE(test_support::arena_stands_at(before)) << c.what << ": screen run";
        // The screen run, on the storage the file run gave back, writes the same.
        EXPECT_EQ(screen.text, file.text) << c.what;
        EXPECT_EQ(file.error.rfind(c.error, 0), 0u) << c.what << ": " << file.error;
        EXPECT_EQ(screen.error.rfind(c.error, 0), 0u) << c.what << ": " << screen.error;
    }
}

}  // namespace
