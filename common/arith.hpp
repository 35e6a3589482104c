// Guarded 32-bit integer arithmetic: every result outside the 32-bit range and
// every forbidden division raises CHECK_ERROR at the caller's place before
// anything can overflow in C++ itself.
#pragma once

#include <cstdint>
#include <limits>

#include "common/errors.hpp"

namespace common {

using int32 = std::int32_t;

inline constexpr std::int64_t int32_first = std::numeric_limits<int32>::min();
inline constexpr std::int64_t int32_last = std::numeric_limits<int32>::max();

inline int32 to_int32(std::int64_t value, place where) {
    check(value >= int32_first && value <= int32_last, where);
    return static_cast<int32>(value);
}

inline int32 add(int32 left, int32 right, place where) {
    return to_int32(std::int64_t{left} + right, where);
}

inline int32 subtract(int32 left, int32 right, place where) {
    return to_int32(std::int64_t{left} - right, where);
}

inline int32 multiply(int32 left, int32 right, place where) {
    return to_int32(std::int64_t{left} * right, where);
}

// Quotient truncated toward zero.
inline int32 divide(int32 left, int32 right, place where) {
    check(right != 0, where);
    return to_int32(std::int64_t{left} / right, where);
}

// Modulus with the sign of the divisor.
inline int32 modulo(int32 left, int32 right, place where) {
    check(right != 0, where);
    std::int64_t result = std::int64_t{left} % right;
    if (result != 0 && ((result < 0) != (right < 0))) {
        result += right;
    }
    return static_cast<int32>(result);
}

}  // namespace common
