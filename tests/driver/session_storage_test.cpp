// A session of velkor gives back, at the end of each program, everything the
// program built (tokens, tree, drawing, trace runs): its memory is that of its
// largest program, not the sum of all.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "driver/velkor.hpp"
#include "frontend/scannerpak.hpp"
#include "tests/support/arena_watch.hpp"
#include "tests/support/capture.hpp"

namespace {

using test_support::with_input;

// A console program with empty file names: its files are temporary.
std::string program(const std::string& text) {
    return "c\n\n\n" + text + "\n";
}

const std::string loop = "n := 0; while n < 3000 do n := (n + 1) od";

struct session_case {
    const char* what;
    std::string input;
    std::string_view error;  // the name of the error that leaves velkor; empty when none
    int final_stores;        // the trace runs on the screen that ended
};

TEST(VelkorSession, EachProgramGivesBackWhatItBuilt) {
    const session_case cases[] = {
        {"three programs, the second not parsed",
         program(loop) + "j\n" + program("skip skip") + "j\n" + program("zaehler := 7; " + loop) + "n\n", "",
         2},
        {"a failed step ends the session", program(loop) + "j\n" + program("x := y") + "n\n", "", 1},
        {"the input ends at the question", program(loop) + "j\n" + program(loop), common::end_error_name, 2},
        {"the scanner's error leaves velkor", program(loop) + "j\n" + program("x := 1 @"),
         scannerpak::eingabefehler, 1},
    };
    // A first session builds what lasts for every program (the scanner's
    // automata, built on their first use and kept outside the arena), so
    // that the sessions below are watched on what their programs build.
    with_input(program("skip") + "n\n", [] { (void)test_support::on_screen([] { velkor::velkor(); }); });
    for (const auto& c : cases) {
        const common::arena_mark before = common::arena_position();
        test_support::capture screen;
        with_input(c.input, [&] { screen = test_support::on_screen([] { velkor::velkor(); }); });
        EXPECT_TRUE(test_support::arena_stands_at(before)) << c.what;
        EXPECT_EQ(screen.error.rfind(c.error, 0), 0u) << c.what << ": " << screen.error;
        std::size_t stores = 0;
        for (std::size_t at = 0; (at = screen.text.find("Endspeicherbelegung", at)) != std::string::npos;
             ++at) {
            ++stores;
        }
        EXPECT_EQ(stores, static_cast<std::size_t>(c.final_stores)) << c.what;
    }
}

}  // namespace
