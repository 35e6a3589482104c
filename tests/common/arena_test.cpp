#include "common/arena.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "tests/support/arena_watch.hpp"

namespace {

// A cell needs no destructor: its text is a view of characters that live
// elsewhere.
struct cell {
    std::string_view text;
    cell* rest;
};

constexpr std::string_view xs = "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx";

TEST(Arena, CellsAreAlignedAndKeepTheirContents) {
    cell* list = nullptr;
    for (int i = 0; i < 100000; ++i) {
        list = common::make<cell>(xs.substr(0, static_cast<std::size_t>(i % 40)), list);
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(list) % alignof(cell), 0U);
    }
    int count = 99999;
    for (const cell* at = list; at != nullptr; at = at->rest, --count) {
        ASSERT_EQ(at->text.size(), static_cast<std::size_t>(count % 40));
    }
    EXPECT_EQ(count, -1);
}

TEST(Arena, LargeRequestsGetABlockOfTheirOwn) {
    auto* big = static_cast<unsigned char*>(common::arena_allocate(std::size_t{3} << 20, 64));
    big[0] = 1;
    big[(std::size_t{3} << 20) - 1] = 2;
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(big) % 64, 0U);
}

}  // namespace

namespace {

struct link {
    long value;
    link* rest;
};

link* build_list(int length) {
    link* list = nullptr;
    for (int i = 0; i < length; ++i) {
        list = common::make<link>(i, list);
    }
    return list;
}

TEST(ArenaScope, GivesBackWhatItHeldAndReusesTheStorage) {
    const common::arena_mark before = common::arena_position();
    link* first = nullptr;
    {
        const common::arena_scope scope;
        first = build_list(1'000'000);  // spans several blocks
        EXPECT_NE(common::arena_position().block, before.block);
    }
    EXPECT_TRUE(test_support::arena_stands_at(before));
    {
        const common::arena_scope scope;
        link* second = build_list(1'000'000);
        EXPECT_EQ(second, first);  // the same storage, handed out again in the same order
        long expected = 999'999;
        for (const link* at = second; at != nullptr; at = at->rest, --expected) {
            ASSERT_EQ(at->value, expected);
        }
        EXPECT_EQ(expected, -1);
    }
    EXPECT_TRUE(test_support::arena_stands_at(before));
}

TEST(ArenaScope, NestedScopesKeepWhatTheOuterOneBuilt) {
    const common::arena_scope outer;
    link* kept = build_list(10);
    const common::arena_mark after_kept = common::arena_position();
    for (int round = 0; round < 3; ++round) {
        const common::arena_scope inner;
        (void)build_list(300'000 * (round + 1));
        (void)common::arena_allocate(std::size_t{5} << 20, 64);  // a block of its own
    }
    EXPECT_TRUE(test_support::arena_stands_at(after_kept));
    long expected = 9;
    for (const link* at = kept; at != nullptr; at = at->rest, --expected) {
        ASSERT_EQ(at->value, expected);
    }
    link* more = build_list(10);  // allocation goes on after the kept cells
    EXPECT_NE(more, kept);
}

}  // namespace
