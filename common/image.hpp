// Number images: a non-negative integer is written with one leading blank,
// a negative one starts with its minus sign.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>

namespace common {

// The longest image: a sign or a blank and the 19 digits of a 64-bit number.
inline constexpr std::size_t image_room = 20;

// write_image writes the image of `value` at `at`, which has room for
// image_room characters, and returns the end of what it wrote. It allocates
// nothing: the trace writes one for every number of every configuration.
inline char* write_image(char* at, std::int64_t value) {
    std::uint64_t magnitude = static_cast<std::uint64_t>(value);
    if (value >= 0) {
        *at++ = ' ';
    } else {
        *at++ = '-';
        magnitude = 0 - magnitude;  // also right for the most negative value
    }
    return std::to_chars(at, at + (image_room - 1), magnitude).ptr;
}

inline void append_image(std::string& out, std::int64_t value) {
    char text[image_room];
    out.append(text, write_image(text, value));
}

inline std::string image(std::int64_t value) {
    std::string out;
    append_image(out, value);
    return out;
}

}  // namespace common
