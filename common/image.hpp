// Number images: a non-negative integer is written with one leading blank,
// a negative one starts with its minus sign.
#pragma once

#include <cstdint>
#include <string>

namespace common {

inline void append_image(std::string& out, std::int64_t value) {
    if (value >= 0) {
        out += ' ';
    }
    out += std::to_string(value);
}

inline std::string image(std::int64_t value) {
    std::string out;
    append_image(out, value);
    return out;
}

}  // namespace common
