// Watching the arena: whether what a stretch of code built was given back.
#pragma once

#include "common/arena.hpp"

namespace test_support {

// arena_stands_at returns true when the arena stands where `mark` was taken:
// nothing allocated since then is still held.
inline bool arena_stands_at(common::arena_mark mark) {
    const common::arena_mark now = common::arena_position();
    return now.block == mark.block && now.cursor == mark.cursor;
}

}  // namespace test_support
