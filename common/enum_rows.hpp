// Tables with one row per value of an enumeration. Each row names its value
// in the member `value`; the table's size is the enumeration's count, and a
// static_assert beside the table checks that row i is the row of value i, so
// a missing, extra or misplaced row does not compile.
#pragma once

#include <array>
#include <cstddef>

namespace common {

// count_of returns the number of values of an enumeration whose values run
// from 0 up to `last`, its last literal.
template <class Enum>
constexpr std::size_t count_of(Enum last) {
    return static_cast<std::size_t>(last) + 1;
}

// rows_in_order is true when the `value` of every row equals its index.
template <class Row, std::size_t N>
constexpr bool rows_in_order(const std::array<Row, N>& rows) {
    for (std::size_t i = 0; i < N; ++i) {
        if (static_cast<std::size_t>(rows[i].value) != i) {
            return false;
        }
    }
    return true;
}

}  // namespace common
