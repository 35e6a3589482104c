// velkor on a terminal: standard output shows each line as it ends, not
// only when the program next asks for input, and the text is the same as
// in a file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "tests/support/program_run.hpp"

namespace {

using test_support::expected_output;
using test_support::read_file;

// A bound on every wait, so that a writer that keeps its lines back fails
// the test instead of hanging it.
constexpr int patience_ms = 30'000;

// Takes what is there to read from `descriptor` into `text`; false at its end.
bool take(int descriptor, std::string& text) {
    char buffer[4096];
    const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
    if (count > 0) {
        text.append(buffer, static_cast<std::size_t>(count));
        return true;
    }
    return count < 0 && errno == EINTR;  // a terminal whose other end is gone says EIO
}

// A pseudo-terminal in raw mode: `terminal` is the side that reads what the
// program shows, `screen` (named `screen_name`) the side it writes to. The
// screen stays open until the program has it: a terminal without an open
// screen reads as ended.
struct pseudo_terminal {
    int terminal = -1;
    int screen = -1;
    std::string screen_name;
};

pseudo_terminal open_terminal() {
    pseudo_terminal made;
    made.terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (made.terminal < 0 || ::grantpt(made.terminal) != 0 || ::unlockpt(made.terminal) != 0) {
        return made;
    }
    made.screen_name = ::ptsname(made.terminal);
    made.screen = ::open(made.screen_name.c_str(), O_RDWR | O_NOCTTY);
    termios mode{};
    if (made.screen < 0 || ::tcgetattr(made.screen, &mode) != 0) {
        made.screen_name.clear();
        return made;
    }
    ::cfmakeraw(&mode);  // the bytes as written, line ends untranslated
    if (::tcsetattr(made.screen, TCSANOW, &mode) != 0) {
        made.screen_name.clear();
    }
    return made;
}

// Starts velkor in `work` with `input` as its standard input and the
// terminal's screen as its standard output; the screen is then velkor's.
pid_t start_velkor(const test_support::scratch_folder& work, const std::string& input,
                   const pseudo_terminal& on) {
    const auto input_path = work.path() / "stdin";
    test_support::write_file(input_path, input);
    const std::string velkor = test_support::program_path("velkor").string();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open(input_path.c_str(), O_RDONLY);
        if (in < 0 || ::dup2(in, 0) < 0 || ::dup2(on.screen, 1) < 0 || ::chdir(work.path().c_str()) != 0) {
            ::_exit(127);
        }
        ::close(on.terminal);
        ::close(on.screen);
        ::execl(velkor.c_str(), velkor.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(on.screen);
    return pid;
}

// The exit status of `pid`, or -1 when it did not exit by itself.
int status_of(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(VelkorOnATerminal, EachLineShowsAsItEnds) {
    const test_support::scratch_folder work;
    const auto trace_path = work.path() / "t.fifo";
    ASSERT_EQ(::mkfifo(trace_path.c_str(), 0600), 0);
    const pseudo_terminal on = open_terminal();
    ASSERT_FALSE(on.screen_name.empty());
    const int terminal = on.terminal;
    const pid_t pid = start_velkor(work, "c\nt.fifo\nb.txt\nx := 2\nn\n", on);
    ASSERT_GE(pid, 0);

    // velkor creates its trace file, a pipe that nobody reads yet, right
    // after the line "Der Trace: ": it waits there, so the line is on the
    // terminal only if it went out as it ended.
    std::string shown;
    bool trace_line_shown = false;
    while (!trace_line_shown) {
        pollfd ready{terminal, POLLIN, 0};
        if (::poll(&ready, 1, patience_ms) <= 0 || !take(terminal, shown)) {
            break;
        }
        trace_line_shown = shown.find("Der Trace: \n") != std::string::npos;
    }
    EXPECT_TRUE(trace_line_shown) << shown;
    if (!trace_line_shown) {
        ::kill(pid, SIGKILL);
    }

    // Then the rest: the trace through the pipe, the screen to its end.
    std::string trace;
    int trace_pipe = trace_line_shown ? ::open(trace_path.c_str(), O_RDONLY) : -1;
    bool screen_open = trace_line_shown;
    while (screen_open || trace_pipe >= 0) {
        pollfd ready[2] = {{screen_open ? terminal : -1, POLLIN, 0}, {trace_pipe, POLLIN, 0}};
        if (::poll(ready, 2, patience_ms) <= 0) {
            ADD_FAILURE() << "velkor stopped writing";
            ::kill(pid, SIGKILL);
            break;
        }
        if (ready[0].revents != 0 && !take(terminal, shown)) {
            screen_open = false;
        }
        if (ready[1].revents != 0 && !take(trace_pipe, trace)) {
            ::close(trace_pipe);
            trace_pipe = -1;
        }
    }
    if (trace_pipe >= 0) {
        ::close(trace_pipe);
    }
    ::close(terminal);
    EXPECT_EQ(status_of(pid), 0);
    EXPECT_EQ(shown, expected_output("velkor_worked_example.out"));
    EXPECT_EQ(trace, expected_output("trace_assignment_2.txt"));
    EXPECT_EQ(read_file(work.path() / "b.txt"), expected_output("tree_file_assignment_2.txt"));
}

// What velkor shows on a terminal whose screen is also its trace file, to
// the end, and its exit status.
struct shown_on_screen {
    std::string text;
    int status;
};

shown_on_screen with_trace_on_the_screen(const std::string& program) {
    const test_support::scratch_folder work;
    const pseudo_terminal on = open_terminal();
    if (on.screen_name.empty()) {
        ADD_FAILURE() << "no pseudo-terminal";
        return {"", -1};
    }
    const pid_t pid = start_velkor(work, "c\n" + on.screen_name + "\n\n" + program + "\nn\n", on);
    if (pid < 0) {
        ADD_FAILURE() << "velkor did not start";
        return {"", -1};
    }
    std::string shown;
    for (;;) {
        pollfd ready{on.terminal, POLLIN, 0};
        if (::poll(&ready, 1, patience_ms) <= 0) {
            ADD_FAILURE() << "velkor stopped writing";
            ::kill(pid, SIGKILL);
            break;
        }
        if (!take(on.terminal, shown)) {
            break;
        }
    }
    ::close(on.terminal);
    return {shown, status_of(pid)};
}

// When the file run fails, the trace file is closed as the activation ends,
// after its message: with the trace file on the terminal too, the message
// shows before the trace that the file's close writes out.
TEST(VelkorOnATerminal, TraceFileOfAFailedRunClosesAfterTheMessage) {
    const shown_on_screen shown = with_trace_on_the_screen("x := y");
    EXPECT_EQ(shown.status, 0);
    EXPECT_EQ(shown.text, expected_output("velkor_failed_step.out") +
                              expected_output("trace_assignment_of_undefined.txt"));
}

// A trace file that is no file on disk of its own keeps its text until it
// is closed, after the screen run, as it always did: on the terminal the
// screen's trace shows between the blocks that the file run wrote and the
// file's last piece, which its close writes out.
TEST(VelkorOnATerminal, TraceFileOnTheScreenShowsItsLastPieceAtItsClose) {
    const std::string program = "x := 0; while x < 30 do x := (x + 1) od; y := 1";
    const test_support::scratch_folder work;
    const auto plain = test_support::run_program("velkor", "c\nt.txt\n\n" + program + "\nn\n", work.path());
    const std::string trace = read_file(work.path() / "t.txt");
    // Long enough to fill the writer's first blocks, and of an odd length,
    // so that a piece is left over for the close whatever the block.
    ASSERT_GT(trace.size(), std::size_t{16'384});
    ASSERT_EQ(trace.size() % 2, 1U);
    const std::string heading = "   Der Trace: \n";
    const std::string question = "\n\nMoechten";
    const std::size_t from = plain.out.find(heading) + heading.size();
    const std::size_t to = plain.out.find(question);
    ASSERT_EQ(plain.out.substr(from, to - from), trace);  // the screen's trace is the file's

    const shown_on_screen shown = with_trace_on_the_screen(program);
    EXPECT_EQ(shown.status, 0);
    ASSERT_EQ(shown.text.size(), plain.out.size() + trace.size());
    EXPECT_EQ(shown.text.substr(0, from), plain.out.substr(0, from));
    EXPECT_EQ(shown.text.substr(from + 2 * trace.size()), plain.out.substr(to));
    // Between them: the first k characters of the file's trace, the screen's
    // trace, then the file's rest, for some k between 0 and the whole.
    const std::string between = shown.text.substr(from, 2 * trace.size());
    bool split = false;
    for (std::size_t k = 1; k < trace.size() && !split; ++k) {
        split = between.compare(0, k, trace, 0, k) == 0 && between.compare(k, trace.size(), trace) == 0 &&
                between.compare(k + trace.size(), std::string::npos, trace, k) == 0;
    }
    EXPECT_TRUE(split) << "the file's trace did not wait for its close";
}

}  // namespace
