#include "common/program.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <string_view>

#include "common/errors.hpp"
#include "common/textio.hpp"
#include "tests/support/program_run.hpp"
#include "tests/support/raised.hpp"

namespace {

// A named error of no module, and a place in none, for the reports.
constexpr std::string_view probe_error = "PROBE.NAMED_ERROR";
constexpr common::place probe{"probe", 7};

// Runs a main procedure through the program entry in a child process.
test_support::program_result run_main(void (*procedure)()) {
    return test_support::run_entry([procedure] { return common::run_program(procedure); });
}

TEST(ProgramEntry, NormalEndFlushesAndExitsWithZero) {
    const auto result = run_main([] { common::standard_output().put("no line end"); });
    EXPECT_EQ(result.out, "no line end");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 0);
}

TEST(ProgramEntry, UnhandledErrorIsReportedAfterTheOutput) {
    const auto result = run_main([] {
        common::standard_output().put_line("before");
        common::check_failed(probe);
    });
    EXPECT_EQ(result.out, "before\n");
    EXPECT_EQ(result.err, "\nraised " + test_support::report(common::check_error_name, probe) + "\n");
    EXPECT_EQ(result.status, 1);
}

TEST(ProgramEntry, EmptyMessageIsLeftOut) {
    const auto result = run_main([] { common::raise(probe_error, std::string()); });
    EXPECT_EQ(result.err, "\nraised " + std::string(probe_error) + "\n");
    EXPECT_EQ(result.status, 1);
}

TEST(ProgramEntry, DeepRecursionFitsTheLargeStack) {
    // About 200 MiB of frames: far beyond a default stack of 8 MiB.
    const auto result = run_main([] {
        struct deep {
            static int down(int n) {
                volatile char frame[2048];
                frame[0] = static_cast<char>(n);
                return n == 0 ? frame[0] : down(n - 1) + 1;
            }
        };
        common::standard_output().put_line(std::to_string(deep::down(100000)));
    });
    EXPECT_EQ(result.out, "100000\n");
    EXPECT_EQ(result.status, 0);
}

TEST(ProgramEntry, OpenFilesAreClosedBeforeTheReport) {
    test_support::scratch_folder folder;
    static std::string path;
    path = (folder.path() / "trace.txt").string();
    const auto result = run_main([] {
        static common::out_file file;
        file.create(path);
        file.put("unfinished");
        common::raise(probe_error, probe);
    });
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(test_support::read_file(path), "unfinished\n");
}

TEST(ProgramEntry, ClosedPipeIsAReportedErrorNotASignal) {
    const auto result = test_support::run_entry([] {
        int pipe_ends[2];
        if (::pipe(pipe_ends) != 0) {
            return 127;
        }
        ::close(pipe_ends[0]);
        ::dup2(pipe_ends[1], 1);
        ::close(pipe_ends[1]);
        return common::run_program([] {
            for (int i = 0; i < 100000; ++i) {
                common::standard_output().put_line("a line that nobody reads");
            }
        });
    });
    ASSERT_EQ(result.signal, 0);
    EXPECT_EQ(result.status, 1);
}

// Standard output that takes nothing: the text that waited for the end
// fails in finalisation's flush, a piece the buffer cannot take fails where
// it is put (one larger than any block). Either is reported after
// finalisation; the text is lost.
TEST(ProgramEntry, StandardOutputThatTakesNothingIsReported) {
    // The places of textio's failed writes are its own.
    const auto textio_report = [](int line) {
        return "\nraised " + test_support::report(common::use_error_name, {"textio", line}) + "\n";
    };
    struct failing_output {
        void (*procedure)();
        std::string report;
    };
    const failing_output outputs[] = {
        {[] { common::standard_output().put("waits for the end"); }, textio_report(91)},
        {[] { common::standard_output().put(std::string(common::largest_output_block + 1, 'x')); },
         textio_report(65)},
    };
    for (const failing_output& o : outputs) {
        const auto result = test_support::run_entry([&o] {
            const int full = ::open("/dev/full", O_WRONLY);
            if (full < 0 || ::dup2(full, 1) < 0) {
                return 127;
            }
            ::close(full);
            return common::run_program(o.procedure);
        });
        EXPECT_EQ(result.signal, 0);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, o.report);
    }
}

}  // namespace
