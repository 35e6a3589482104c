// The program entry at its edges: write and close errors that no one could
// raise where they happened, and recursions on stacks of any size.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdio>
#include <optional>
#include <sstream>
#include <string>

#include "common/errors.hpp"
#include "common/program.hpp"
#include "common/textio.hpp"
#include "tests/support/program_run.hpp"
#include "tests/support/raised.hpp"

namespace {

// The close of a file on /dev/full fails: its buffered text finds no room.
// textio's places are its own: the close and a use of a file not open.
constexpr std::string_view full_device = "/dev/full";
const std::string close_failed = test_support::report(common::use_error_name, {"textio", 167});
const std::string not_open = test_support::report(common::use_error_name, {"textio", 150});

// Drops an open file on /dev/full that holds unwritten text: its destructor
// closes it, and the close fails.
void drop_full_file() {
    common::out_file file;
    file.create(full_device);
    file.put("lost?");
}

std::string text_of(const std::optional<common::named_error>& error) {
    return error ? std::string(error->name()) + " : " + std::string(error->message()) : "none";
}

TEST(Finalisation, CloseErrorOfADroppedFileIsReported) {
    drop_full_file();
    std::optional<common::named_error> first;
    common::out_file::close_all(first);
    EXPECT_EQ(text_of(first), close_failed);
    // Reported once: the next finalisation finds nothing.
    std::optional<common::named_error> again;
    common::out_file::close_all(again);
    EXPECT_EQ(text_of(again), "none");
}

TEST(Finalisation, FirstOfSeveralErrorsIsReported) {
    const common::named_error later("LATER_ERROR", "later:1");
    // Dropped before the later error was raised: the dropped file's comes first.
    {
        drop_full_file();
        std::optional<common::named_error> first = later;
        common::out_file::close_all(first);
        EXPECT_EQ(text_of(first), close_failed);
    }
    // Dropped as the error left the scope: the error came first.
    {
        std::optional<common::named_error> first;
        try {
            common::out_file file;
            file.create(full_device);
            file.put("lost?");
            throw later;
        } catch (const common::named_error& error) {
            first = error;
        }
        common::out_file::close_all(first);
        EXPECT_EQ(text_of(first), "LATER_ERROR : later:1");
    }
    // The same, but the error was handled: the dropped file's is the only one.
    {
        try {
            common::out_file file;
            file.create(full_device);
            file.put("lost?");
            throw later;
        } catch (const common::named_error&) {
        }
        std::optional<common::named_error> first;
        common::out_file::close_all(first);
        EXPECT_EQ(text_of(first), close_failed);
    }
}

TEST(Finalisation, CloseErrorOfAFileStillOpenFillsOnlyAnEmptyPlace) {
    static common::out_file file;  // open at finalisation, as a file of the main procedure can be
    for (const bool error_before : {false, true}) {
        file.create(full_device);
        file.put("lost?");
        std::optional<common::named_error> first;
        if (error_before) {
            first = common::named_error("EARLIER_ERROR", "earlier:1");
        }
        common::out_file::close_all(first);
        EXPECT_EQ(test_support::raised([] { file.close(); }), not_open);
        EXPECT_EQ(text_of(first), error_before ? "EARLIER_ERROR : earlier:1" : close_failed);
    }
}

// The levels of 1 KiB that a thread with a stack of `stack_size` bytes can
// still start.
int levels_on_stack(std::size_t stack_size) {
    int levels = -1;
    common::run_on_large_stack([&] { levels = common::levels_that_fit(1'000'000, 1024); }, stack_size);
    return levels;
}

TEST(StackLevels, ScaleWithTheStackObtained) {
    // All but the reserved levels and what the thread used before the
    // question; that is far less than 64 KiB.
    constexpr int reserve = static_cast<int>(common::reserved_levels);
    for (const std::size_t kib : {1024, 4096, 65536}) {
        const int levels = levels_on_stack(kib * 1024);
        EXPECT_LE(levels, static_cast<int>(kib) - reserve) << kib << " KiB";
        EXPECT_GE(levels, static_cast<int>(kib) - reserve - 64) << kib << " KiB";
    }
}

TEST(StackLevels, AreAtMostTheLimitAndNoneWhenTheReserveDoesNotFit) {
    int on_large_stack = -1;
    int beyond_the_stack = -1;
    common::run_on_large_stack([&] {
        on_large_stack = common::levels_that_fit(10'000, 1536);
        beyond_the_stack = common::levels_that_fit(10'000, common::main_stack_size / common::reserved_levels);
    });
    EXPECT_EQ(on_large_stack, 10'000);
    EXPECT_EQ(beyond_the_stack, 0);
}

// descend recurses `levels` deep in frames of less than 1 KiB each.
[[gnu::noinline]] int descend(int levels) {
    volatile char frame[768];
    frame[0] = static_cast<char>(levels);
    return levels == 0 ? frame[0] : descend(levels - 1) + frame[0];
}

// On the main thread without /proc (here: without a descriptor to read it),
// the stack's low end is not known: levels_that_fit counts the stack limit
// below the top of the stack, nearly what it counts where the bounds are
// known, and 256 KiB under no limit. What it allows is then really taken.
TEST(StackLevels, UnknownBoundsAllowNoMoreThanTheStackHolds) {
    constexpr rlim_t kib = 1024;
    for (const rlim_t limit : {256 * kib, 1024 * kib, RLIM_INFINITY}) {
        SCOPED_TRACE(limit == RLIM_INFINITY ? "no stack limit" : std::to_string(limit / kib) + " KiB");
        const auto result = test_support::run_entry([limit] {
            if (!test_support::set_stack_limit(limit) || !test_support::leave_no_descriptor_free()) {
                return 125;
            }
            const int unknown = common::levels_that_fit(1'000'000, 1024);
            descend(unknown);
            if (!test_support::give_descriptors_back()) {  // and with them the bounds
                return 126;
            }
            const int known = common::levels_that_fit(1'000'000, 1024);
            std::printf("%d %d\n", known, unknown);
            return std::fflush(stdout) == 0 ? 0 : 127;
        });
        ASSERT_EQ(result.signal, 0);
        ASSERT_EQ(result.status, 0);
        std::istringstream levels(result.out);
        int known = -1;
        int unknown = -1;
        ASSERT_TRUE(levels >> known >> unknown) << result.out;
        if (limit == RLIM_INFINITY) {
            EXPECT_LE(unknown, 256 - static_cast<int>(common::reserved_levels));
            EXPECT_GT(unknown, 0);
        } else {
            EXPECT_LE(unknown, known);
            EXPECT_GE(unknown, known - 2);
        }
    }
}

}  // namespace
