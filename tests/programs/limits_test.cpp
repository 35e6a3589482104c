// velkor at the edges of what the process gets: output files that cannot
// take what is written, a file-size limit, a screen that is not read, small
// stacks and a limited address space. Whatever comes, the program ends with
// its report, never by a signal, and loses no error.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "common/program.hpp"
#include "frontend/comtypes.hpp"
#include "tests/support/markdown.hpp"
#include "tests/support/program_run.hpp"
#include "tests/support/while_programs.hpp"

namespace {

namespace fs = std::filesystem;
using test_support::expected_output;
using test_support::resource_limit;

constexpr rlim_t kib = 1024;
constexpr std::string_view trace_heading = "   Der Trace: \n";

const std::vector<std::string> all_programs = {"velkor", "tamsel",  "orvane", "pirrel", "dunmor",
                                               "ruskel", "lintaro", "zorbel", "halvik", "quenmar"};

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
    // A program line longer than the memory left, a name longer than the
    // memory left for its copies, and a run whose records outgrow the
    // arena: each time the report, status 1, never a signal. Only the arena
    // names a place; a want of memory anywhere else has none.
    std::string long_line = "c\n\n\n";
    for (int i = 0; i < 3'000'000; ++i) {
        long_line += "x := 1; ";
    }
    long_line += "\nn\n";
    struct run {
        std::string title;
        std::string input;
        rlim_t address_space;
        std::string report;
    };
    // The README's example of a want of memory that names no place.
    const test_support::sentence named_example =
        test_support::sentence_with(test_support::readme(),
                                    "| `raised {}` | no more memory outside the arena, where no place is "
                                    "named: a program line longer than "
                                    "memory holds, or a name of {} million letters under `ulimit -v {}`");
    const std::vector<run> runs = {
        {"a line longer than memory", long_line, 40'000 * kib, "STORAGE_ERROR"},
        {named_example.place + ": a name of " + named_example.blanks[1] + " million letters",
         "c\n\n\n" + std::string(named_example.number(1) * 1'000'000, 'x') + "\nn\n",
         named_example.number(2) * kib, named_example.blanks[0]},
        {"a run outgrowing memory", "c\nt.txt\n\ni := 0; while i < 71000 do i := (i + 1) od\nn\n",
         40'000 * kib, "STORAGE_ERROR : arena:32"},
    };
    // The dialogue up to the program's prompt, whose line end follows the
    // answer.
    const std::string dialogue = expected_output("velkor_end_at_program.out");
    const std::string before_program = dialogue.substr(0, dialogue.size() - 1);
    for (const run& r : runs) {
        SCOPED_TRACE(r.title);
        const test_support::scratch_folder work;
        const auto result =
            test_support::run_program("velkor", r.input, work.path(), {}, {{RLIMIT_AS, r.address_space}});
        EXPECT_EQ(result.signal, 0);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "\nraised " + r.report + "\n");
        EXPECT_TRUE(result.out.starts_with(before_program)) << result.out.substr(0, 600);
    }
}

// Under a small limit of the address space the seven programs that take
// their lists and sets from the arena find no room for its first block and
// print nothing; lintaro and quenmar, which take nothing from it, still run
// whole, and with a little more room all nine do.
// The limits, the programs and the report are read from the README's
// sentences that say so.
TEST(ProgramsAtTheirLimits, TheArenaNeedsItsFirstBlockBeforeAnyReport) {
    if (common::address_sanitizer) {
        GTEST_SKIP() << "AddressSanitizer needs far more address space than the limit leaves";
    }
    const test_support::sentence small_limit = test_support::sentence_with(
        test_support::readme(),
        "Under a small limit of the address space, `ulimit -v {}`, `{}`, `{}`, `{}`, "
        "`{}`, `{}`, `{}` and `{}` print nothing and end with `{}`:");
    const test_support::sentence larger_limit = test_support::sentence_with(
        test_support::readme(),
        "`lintaro` and `quenmar` still run whole there, and with `ulimit -v {}` all nine do.");
    const std::vector<std::string> with_arena(small_limit.blanks.begin() + 1, small_limit.blanks.end() - 1);
    const std::string& report = small_limit.blanks.back();  // "raised NAME : module:line"
    for (const std::string& program : all_programs) {
        if (program == "velkor") {
            continue;
        }
        SCOPED_TRACE(small_limit.place + ": " + program);
        const auto small =
            test_support::run_program(program, "", {}, {}, {{RLIMIT_AS, small_limit.number(0) * kib}});
        EXPECT_EQ(small.signal, 0);
        if (std::ranges::find(with_arena, program) != with_arena.end()) {
            EXPECT_EQ(small.status, 1);
            EXPECT_EQ(small.out, "");
            EXPECT_EQ(small.err, "\n" + report + "\n");
        } else {
            EXPECT_EQ(small.status, 0);
            EXPECT_TRUE(small.out == expected_output(program + ".out"));
        }
        const auto larger =
            test_support::run_program(program, "", {}, {}, {{RLIMIT_AS, larger_limit.number(0) * kib}});
        EXPECT_EQ(larger.signal, 0);
        EXPECT_EQ(larger.status, 0);
        EXPECT_EQ(larger.err, "");
        EXPECT_TRUE(larger.out == expected_output(program + ".out"));
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

// ---- Every program at the edges of the process ----

// A run of one of the ten programs: its standard input, and its whole
// output when it runs to its end. velkor's takes its files under temporary
// names, so that only the screen shows.
struct whole_run {
    std::string input;
    std::string out;
};

whole_run whole_run_of(const std::string& program) {
    if (program == "velkor") {
        return {"c\n\n\nx := 2\nn\n", expected_output("velkor_worked_example.out")};
    }
    return {"", expected_output(program + ".out")};
}

std::string test_name(const testing::TestParamInfo<std::string>& info) {
    return info.param;
}

// What one run under a limit gave is sound when no signal ended it and it
// either ran to its end or stopped with the report of STORAGE_ERROR,
// after a beginning of its output: never a lost or a mixed-up text.
void expect_whole_or_storage_error(const test_support::program_result& result, const whole_run& whole) {
    EXPECT_EQ(result.signal, 0);
    if (result.status == 0) {
        EXPECT_EQ(result.err, "");
        EXPECT_TRUE(result.out == whole.out) << result.out;
    } else {
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err.rfind("\nraised STORAGE_ERROR", 0), 0U) << result.err;
        EXPECT_TRUE(whole.out.starts_with(result.out)) << result.out;
    }
}

// With no thread of its own to be had (a user at the limit of processes),
// a program runs on the main thread's own stack, of which 16 KiB are enough
// for each of the ten, with an environment of 1.5 KiB, a shell's: whatever
// it raises, it reports. The environment lies on the same stack, and where
// the stack begins varies from run to run by up to 8 KiB, so the
// environment is of a fixed size and each run is repeated. A throw that
// made the dynamic linker bind the unwinder's symbols on that stack failed
// in one run of ten here.
class OnTheSmallestMainStack : public testing::TestWithParam<std::string> {};

TEST_P(OnTheSmallestMainStack, EveryRunEndsWithItsReport) {
    if (common::address_sanitizer) {
        GTEST_SKIP() << "AddressSanitizer needs a larger stack than 16 KiB";
    }
    const std::string& program = GetParam();
    struct stack_run {
        std::string title;
        std::string input;
        std::string out;
        std::string err;
        bool on_full_device = false;  // standard output on /dev/full, so that a write fails
        int status = 1;
    };
    const whole_run whole = whole_run_of(program);
    std::vector<stack_run> runs = {
        {"to its end", whole.input, whole.out, "", false, 0},
        {"a write that fails", whole.input, "", "\nraised USE_ERROR : textio:91\n", true},
    };
    if (program == "velkor") {
        runs.push_back({"a number beyond 32 bits", "c\n\n\nx := 2147483648\nn\n",
                        expected_output("velkor_number_beyond_32_bits.out"),
                        "\nraised CHECK_ERROR : baumwandler_package:33\n"});
        runs.push_back({"a refused nesting level",
                        "c\n\n\n" + test_support::nested_loops(comtypes::nesting_limit + 1) + "\nn\n",
                        expected_output("velkor_nesting_too_deep.out"),
                        "\nraised STORAGE_ERROR : comtypes:233\n"});
        runs.push_back({"the end of input", "c\n", expected_output("velkor_end_at_trace_name.out"),
                        "\nraised END_ERROR : textio:283\n"});
    }
    // A copy that the unprivileged user whom leave_no_thread may become can
    // reach, whatever folder the build is in.
    const test_support::scratch_folder work;
    const fs::path copy = work.path() / program;
    fs::copy_file(test_support::program_path(program), copy);
    fs::permissions(work.path(), fs::perms::all);
    // The stack and the environment as the README states them, the
    // environment in bytes with the line PATH=/usr/bin:/bin.
    const test_support::sentence told = test_support::sentence_with(
        test_support::readme(), "{} KiB of it are enough with an environment of {} KiB, a shell's:");
    const rlim_t smallest_stack = told.number(0) * kib;
    const auto environment_size = static_cast<std::size_t>(std::stod(told.blanks[1]) * kib);
    // Each variable takes its text and a NUL.
    const std::string path = "PATH=/usr/bin:/bin";
    const std::string pad = "PAD=";
    const std::size_t fixed = path.size() + 1 + pad.size() + 1;
    ASSERT_GT(environment_size, fixed) << told.place;
    const std::string padding = pad + std::string(environment_size - fixed, 'x');
    // The limit as told, and one a little larger.
    for (const rlim_t stack : {smallest_stack, smallest_stack + 2 * kib}) {
        for (const stack_run& r : runs) {
            SCOPED_TRACE(told.place + ": " + r.title + ", stack of " + std::to_string(stack / kib) + " KiB");
            for (int repeat = 0; repeat < 25; ++repeat) {
                const auto result = test_support::run_entry(
                    [&] {
                        if (::chdir(work.path().c_str()) != 0 || !test_support::set_stack_limit(stack) ||
                            !test_support::leave_no_thread()) {
                            return 125;
                        }
                        const int full = r.on_full_device ? ::open("/dev/full", O_WRONLY) : STDOUT_FILENO;
                        if (full < 0 || ::dup2(full, STDOUT_FILENO) < 0) {
                            return 125;
                        }
                        char* const arguments[] = {const_cast<char*>(copy.c_str()), nullptr};
                        char* const environment[] = {const_cast<char*>(path.c_str()),
                                                     const_cast<char*>(padding.c_str()), nullptr};
                        ::execve(copy.c_str(), arguments, environment);
                        return 126;
                    },
                    r.input);
                ASSERT_EQ(result.signal, 0) << "run " << repeat;
                ASSERT_EQ(result.status, r.status) << "run " << repeat;
                ASSERT_EQ(result.err, r.err) << "run " << repeat;
                ASSERT_TRUE(result.out == r.out) << "run " << repeat;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, OnTheSmallestMainStack, testing::ValuesIn(all_programs), test_name);

// When memory runs out, at whatever allocation, even before main and even
// for the exception that would report it, a program ends with the report of
// STORAGE_ERROR, never by a signal. The preloaded allocator fails the
// allocation numbered k alone, then every allocation from the one numbered
// k on, for each k up to the last allocation the program makes.
class WhenAllocationsFail : public testing::TestWithParam<std::string> {};

TEST_P(WhenAllocationsFail, EveryProgramReportsOrRunsToItsEnd) {
    if (common::address_sanitizer) {
        GTEST_SKIP() << "AddressSanitizer brings an allocator of its own, which must come first";
    }
    const std::string& program = GetParam();
    const whole_run whole = whole_run_of(program);
    const std::string executable = test_support::program_path(program).string();
    const auto run_failing = [&](const std::string& mode) {
        return test_support::run_entry(
            [&] {
                if (::setenv("LD_PRELOAD", SUITE_FAILING_ALLOCATOR, 1) != 0 ||
                    ::setenv("FAILING_ALLOCATOR", mode.c_str(), 1) != 0) {
                    return 125;
                }
                ::execl(executable.c_str(), executable.c_str(), static_cast<char*>(nullptr));
                return 126;
            },
            whole.input);
    };
    constexpr int most_allocations = 5'000;
    int k = 0;
    for (; k < most_allocations; ++k) {
        const auto only = run_failing("only:" + std::to_string(k));
        {
            SCOPED_TRACE("allocation " + std::to_string(k) + " fails");
            expect_whole_or_storage_error(only, whole);
        }
        const auto from = run_failing("from:" + std::to_string(k));
        {
            SCOPED_TRACE("allocations from " + std::to_string(k) + " on fail");
            expect_whole_or_storage_error(from, whole);
        }
        if (testing::Test::HasFailure() || (from.status == 0 && from.signal == 0)) {
            break;  // no allocation numbered k or higher is made
        }
    }
    EXPECT_LT(k, most_allocations);
}

INSTANTIATE_TEST_SUITE_P(Programs, WhenAllocationsFail, testing::ValuesIn(all_programs), test_name);

// Under a limit of the address space, from the smallest that the dynamic
// loader can start the program in, upwards: past the loader, every program
// reports or runs to its end. The first few hundred kilobytes above that
// edge are where the program's own first allocations fail, the ones made
// while it loads included.
class UnderAnAddressSpaceLimit : public testing::TestWithParam<std::string> {};

TEST_P(UnderAnAddressSpaceLimit, EveryProgramReportsOrRunsToItsEnd) {
    if (common::address_sanitizer) {
        GTEST_SKIP() << "AddressSanitizer needs far more address space than these limits leave";
    }
    const std::string& program = GetParam();
    const whole_run whole = whole_run_of(program);
    const test_support::scratch_folder work;
    const auto run_within = [&](rlim_t bytes) {
        return test_support::run_program(program, whole.input, work.path(), {}, {{RLIMIT_AS, bytes}});
    };
    // The dynamic loader that cannot start the program (no room to map it,
    // or for its thread's data) says why and exits with 127; the programs
    // themselves never do.
    const auto loaded = [](const test_support::program_result& result) {
        return !(result.status == 127 && result.out.empty());
    };
    rlim_t refused = 0;
    rlim_t starts = 64 * 1024 * kib;
    ASSERT_TRUE(loaded(run_within(starts)));
    while (starts - refused > kib) {
        const rlim_t middle = refused + (starts - refused) / 2;
        (loaded(run_within(middle)) ? starts : refused) = middle;
    }
    std::vector<rlim_t> limits;
    for (rlim_t bytes = starts; bytes < starts + 1024 * kib; bytes += 8 * kib) {
        limits.push_back(bytes);
    }
    for (rlim_t bytes = starts + 1024 * kib; bytes < 48 * 1024 * kib; bytes += 1024 * kib) {
        limits.push_back(bytes);
    }
    for (const rlim_t bytes : limits) {
        SCOPED_TRACE("address space of " + std::to_string(bytes / kib) + " KiB");
        const auto result = run_within(bytes);
        ASSERT_TRUE(loaded(result)) << result.err;
        expect_whole_or_storage_error(result, whole);
        if (testing::Test::HasFailure()) {
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, UnderAnAddressSpaceLimit, testing::ValuesIn(all_programs), test_name);

}  // namespace
