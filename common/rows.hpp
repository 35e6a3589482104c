// Enumerations made from a list of rows, and tables with one row per value.
//
// A list of rows (a .def file, or an X-macro list) is the one place of an
// enumeration's values: each row names its value first, then the facts
// about it. The enumeration is the list expanded with COMMON_ROW_VALUE, and
// its count the list expanded with COMMON_ROW_COUNT inside row_count, so a
// row added to the list is a value and is counted at once:
//
//   enum class kind : std::uint8_t { KINDS(COMMON_ROW_VALUE) };
//   inline constexpr std::size_t kind_count = common::row_count({KINDS(COMMON_ROW_COUNT)});
//
// A .def file takes them as its row macro: `#define ROW COMMON_ROW_VALUE`
// before the #include. A table indexed by such a value must have row i
// describe value i; one_row_per_value checks that at compile time.
#pragma once

#include <cstddef>

// The value that a row names, as an enumerator.
#define COMMON_ROW_VALUE(value, ...) value,

// A row, counted as one by row_count whatever its columns.
#define COMMON_ROW_COUNT(...) ::common::counted_row{},

namespace common {

// One row of a list, as COMMON_ROW_COUNT makes it.
struct counted_row {};

// row_count returns the number of rows of a list expanded with
// COMMON_ROW_COUNT: the count of the enumeration made from that list.
template <std::size_t N>
consteval std::size_t row_count(const counted_row (&)[N]) {
    return N;
}

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
