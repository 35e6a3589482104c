// Tables with one row per value of an enumeration. Such a table is indexed
// by the value itself, so row i must describe value i; a compile-time check
// over the table makes a missing or misplaced row fail to compile.
#pragma once

#include <cstddef>

namespace common {

// one_row_per_value returns true when `rows` has exactly `count` rows and
// the key of row i (the member `key` of the row) is the value i. Meant for
// static_assert over a constexpr table.
template <class Row, std::size_t N, class Enum>
consteval bool one_row_per_value(const Row (&rows)[N], Enum Row::*key, std::size_t count) {
    if (N != count) {
        return false;
    }
    for (std::size_t i = 0; i < N; ++i) {
        if (static_cast<std::size_t>(rows[i].*key) != i) {
            return false;
        }
    }
    return true;
}

}  // namespace common
