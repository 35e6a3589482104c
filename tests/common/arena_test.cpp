#include "common/arena.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

struct cell {
    std::string text;
    cell* rest;
};

TEST(Arena, CellsAreAlignedAndKeepTheirContents) {
    cell* list = nullptr;
    for (int i = 0; i < 100000; ++i) {
        list = common::make<cell>(std::string(static_cast<std::size_t>(i % 40), 'x'), list);
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
