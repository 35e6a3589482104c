// velkor at the edges of what the process gets: output files that cannot
// take what is written, a file-size limit, a screen that is not read, small
// stacks and a limited address space. Whatever comes, the program ends with
// its report, never by a signal, and loses no error.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/program.hpp"
#include "frontend/comtypes.hpp"
#include "tests/support/program_run.hpp"
#include "tests/support/while_programs.hpp"

namespace {

namespace fs = std::filesystem;
using test_support::expected_output;
using test_support::resource_limit;

constexpr rlim_t kib = 1024;
constexpr std::string_view trace_heading = "   Der Trace: \n";

TEST(VelkorAtItsLimits, WriteAndCloseErrorsOfTheOutputFilesAreReported) {
    // /dev/full takes no text: the close of the file fails, the trace
    // file's for the text written out as its file run ended.
    const std::string worked_example = expected_output("velkor_worked_example.out");
    const std::string through_screen_trace =
        worked_example.substr(0, worked_example.find("\n\n\nMoechten") + 1);
    struct run {
        std::string title;
        std::string input;
        std::string out;
    };
    const std::vector<run> runs = {
        // The trace file stays open past the failed step; its close at the
        // end of the program fails after the main procedure's message.
        {"failed step", "c\n/dev/full\n\nx := y\nn\n", expected_output("velkor_failed_step.out")},
        {"trace file", "c\n/dev/full\n\nx := 2\nn\n", through_screen_trace},
        {"tree file", "c\n\n/dev/full\nx := 2\nn\n", through_screen_trace},
    };
    for (const run& r : runs) {
        SCOPED_TRACE(r.title);
        const auto result = test_support::run_program("velkor", r.input);
        EXPECT_EQ(result.signal, 0);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out, r.out);
        EXPECT_EQ(result.err, "\nraised USE_ERROR : textio:167\n");
    }
}

// A trace file on /dev/full fails at its first write, in the file run, on
// traces of many lengths: the report names the piece or the character that
// the writer could not write, and the screen shows nothing after the trace's
// heading, since the file run comes first.
TEST(VelkorAtItsLimits, TraceFileThatTakesNothingFailsAtItsFirstWrite) {
    for (const std::string name : {"v", "vw"}) {
        for (int statements = 30; statements <= 50; ++statements) {
            std::string program = name + " := 1";
            for (int i = 1; i < statements; ++i) {
                program += "; " + name + " := 1";
            }
            SCOPED_TRACE(std::to_string(statements) + " statements " + name + " := 1");
            const test_support::scratch_folder work;
            const auto plain =
                test_support::run_program("velkor", "c\nt.txt\n\n" + program + "\nn\n", work.path());
            const auto failed = test_support::run_program("velkor", "c\n/dev/full\n\n" + program + "\nn\n");
            EXPECT_EQ(failed.signal, 0);
            EXPECT_EQ(failed.status, 1);
            EXPECT_TRUE(failed.err == "\nraised USE_ERROR : textio:65\n" ||
                        failed.err == "\nraised USE_ERROR : textio:75\n")
                << failed.err;
            EXPECT_EQ(failed.out, plain.out.substr(0, plain.out.find(trace_heading) + trace_heading.size()));
        }
    }
}

// The screen trace of this program, some 2.8 MB, is far more than a pipe
// holds: velkor, its standard output unread, waits in the screen run. Its
// trace's length is odd, so that its last byte ends no block of any writer:
// the file run leaves it in the buffer.
constexpr std::string_view long_program = "x := 1; while x < 2001 do x := (x + 1) od";

// The trace as velkor shows it on the screen: from the line after the
// heading through the final store, before the two empty lines of the question.
std::string screen_trace(const std::string& out) {
    const std::size_t begin = out.find(trace_heading) + trace_heading.size();
    return out.substr(begin, out.find("\n\n\nMoechten", begin) + 1 - begin);
}

// The trace file is written out once the file run ends: while velkor is
// still in its screen run, the file holds the whole trace. A file-size limit
// one byte short of the trace stops the last write, and the close reports
// it after the whole screen trace, as for a trace file on /dev/full.
TEST(VelkorAtItsLimits, TraceFileIsOnDiskBeforeTheScreenRun) {
    const test_support::scratch_folder work;
    const auto trace_path = work.path() / "t.txt";
    const std::string input = "c\nt.txt\nb.txt\n" + std::string(long_program) + "\nn\n";
    std::string during;
    bool running = false;
    const auto look_at_trace = [&](bool still_running) {
        running = still_running;
        during = test_support::read_file(trace_path);
    };
    const auto whole =
        test_support::run_program_paused("velkor", input, work.path(), {}, trace_heading, look_at_trace);
    const std::string trace = screen_trace(whole.out);
    EXPECT_EQ(whole.status, 0);
    ASSERT_TRUE(trace.ends_with("\nEndspeicherbelegung: {(x, 2001)}\n"));
    ASSERT_EQ(trace.size() % 2, 1U);
    EXPECT_TRUE(running);
    EXPECT_EQ(during.size(), trace.size());
    EXPECT_TRUE(during == trace);
    EXPECT_TRUE(test_support::read_file(trace_path) == trace);

    running = false;
    const auto short_by_one = test_support::run_program_paused(
        "velkor", input, work.path(), {{RLIMIT_FSIZE, trace.size() - 1}}, trace_heading, look_at_trace);
    EXPECT_EQ(short_by_one.signal, 0);
    EXPECT_EQ(short_by_one.status, 1);
    EXPECT_EQ(short_by_one.err, "\nraised USE_ERROR : textio:167\n");
    const std::size_t through_screen_trace = whole.out.find("\n\n\nMoechten") + 1;
    EXPECT_TRUE(short_by_one.out == whole.out.substr(0, through_screen_trace));
    EXPECT_TRUE(running);
    EXPECT_TRUE(during == trace.substr(0, trace.size() - 1));
    EXPECT_TRUE(test_support::read_file(trace_path) == during);
}

TEST(VelkorAtItsLimits, LongTextsOfAnEarlierProgramAreNotLost) {
    // What one program built goes back when the next begins. A name or a
    // number too long for a short string must not own storage that would
    // then be lost: under the sanitizers the leak checker watches this run.
    const std::string name(100, 'n');
    const std::string number = std::string(90, '0') + "7";
    const auto result =
        test_support::run_program("velkor", "c\n\n\n" + name + " := " + number + "\nj\nc\n\n\nskip\nn\n");
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_NE(result.out.find("Endspeicherbelegung: {(" + name + ", 7)}"), std::string::npos);
}

TEST(VelkorAtItsLimits, FileSizeLimitIsAWriteErrorNotASignal) {
    // The endless loop's trace reaches the limit long before the step limit.
    const auto result = test_support::run_program("velkor", "c\n\n\nwhile 0 < 1 do skip od\nn\n", {}, {},
                                                  {{RLIMIT_FSIZE, 1024 * kib}});
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, expected_output("velkor_endless_loop.out"));
    // Which of the writer's two writes meets the limit depends on the
    // buffering; both are the place of a write that fails.
    EXPECT_TRUE(result.err == "\nraised USE_ERROR : textio:65\n" ||
                result.err == "\nraised USE_ERROR : textio:75\n")
        << result.err;
}

TEST(VelkorAtItsLimits, MemoryRunningOutIsStorageErrorNotASignal) {
    if (common::address_sanitizer) {
        GTEST_SKIP() << "AddressSanitizer needs far more address space than the limit leaves";
    }
    // A program line longer than the memory left, and a run whose records
    // outgrow it: either way the report, status 1, never a signal.
    std::string long_line = "c\n\n\n";
    for (int i = 0; i < 3'000'000; ++i) {
        long_line += "x := 1; ";
    }
    long_line += "\nn\n";
    struct run {
        std::string title;
        std::string input;
    };
    const std::vector<run> runs = {
        {"a line longer than memory", long_line},
        {"a run outgrowing memory", "c\nt.txt\n\ni := 0; while i < 71000 do i := (i + 1) od\nn\n"},
    };
    for (const run& r : runs) {
        SCOPED_TRACE(r.title);
        const test_support::scratch_folder work;
        const auto result =
            test_support::run_program("velkor", r.input, work.path(), {}, {{RLIMIT_AS, 40'000 * kib}});
        EXPECT_EQ(result.signal, 0);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err.rfind("\nraised STORAGE_ERROR", 0), 0U) << result.err;
    }
}

// With no thread of its own to be had, velkor runs on the main thread's
// stack, here of 64 KiB, and reads its program file all the same. It runs
// as a copy in its working folder, which the unprivileged user that
// leave_no_thread may become can reach, whatever folder the build is in.
TEST(VelkorAtItsLimits, ProgramFileIsReadOnASmallMainStack) {
    const test_support::scratch_folder work;
    const fs::path velkor = work.path() / "velkor";
    fs::copy_file(test_support::program_path("velkor"), velkor);
    test_support::write_file(work.path() / "prog.txt", expected_output("program_with_empty_lines.txt"));
    fs::permissions(work.path(), fs::perms::all);
    const auto result = test_support::run_entry(
        [&] {
            if (::chdir(work.path().c_str()) != 0 || !test_support::set_stack_limit(64 * kib) ||
                !test_support::leave_no_thread()) {
                return 125;
            }
            ::execl(velkor.c_str(), velkor.c_str(), static_cast<char*>(nullptr));
            return 126;
        },
        "d\nprog.txt\nn\n");
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, expected_output("velkor_file_path.out"));
    EXPECT_EQ(test_support::read_file(work.path() / "prog_Trace.txt"),
              expected_output("trace_assignment_2.txt"));
    EXPECT_EQ(test_support::read_file(work.path() / "prog_Baum.txt"),
              expected_output("tree_file_assignment_2.txt"));
}

TEST(VelkorAtItsLimits, NestingTooDeepEndsWithStorageErrorUnderSmallLimits) {
    struct nesting_kind {
        std::string name;
        std::string place;
        std::string (*program)(int depth);
    };
    const std::vector<nesting_kind> kinds = {
        {"while", "comtypes:233", test_support::nested_loops},
        {"if", "comtypes:239", test_support::nested_ifs},
        {"parentheses", "comtypes:255", test_support::nested_parentheses},
    };
    // The large stack is refused under these limits of the address space.
    // Under AddressSanitizer, whose shadow memory needs far more address
    // space, only the stack is limited.
    std::vector<std::vector<resource_limit>> limit_pairs = {
        {{RLIMIT_STACK, 512 * kib}, {RLIMIT_AS, 500'000 * kib}},
        {{RLIMIT_STACK, 2048 * kib}, {RLIMIT_AS, 400'000 * kib}},
    };
    for (std::vector<resource_limit>& limits : limit_pairs) {
        if (common::address_sanitizer) {
            limits.pop_back();
        }
    }
    for (const std::vector<resource_limit>& limits : limit_pairs) {
        for (const nesting_kind& kind : kinds) {
            for (const int depth : {comtypes::nesting_limit + 1, 10 * comtypes::nesting_limit}) {
                SCOPED_TRACE(kind.name + " " + std::to_string(depth) + " deep, stack of " +
                             std::to_string(limits.front().bytes / kib) + " KiB");
                const test_support::scratch_folder work;
                const auto result = test_support::run_program(
                    "velkor", "c\nt.txt\nb.txt\n" + kind.program(depth) + "\nn\n", work.path(), {}, limits);
                EXPECT_EQ(result.signal, 0);
                EXPECT_EQ(result.status, 1);
                EXPECT_EQ(result.out, expected_output("velkor_nesting_too_deep.out"));
                EXPECT_EQ(result.err, "\nraised STORAGE_ERROR : " + kind.place + "\n");
                EXPECT_TRUE(fs::is_empty(work.path()));
            }
        }
    }
}

}  // namespace
