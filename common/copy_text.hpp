// Copies of short texts without a call: most pieces that the trace and the
// writers move are a few characters long.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace common {

// copy_ends copies `count` characters, at least one Word and at most two, as
// the Word at each end; the two may overlap.
template <class Word>
void copy_ends(char* to, const char* from, std::size_t count) noexcept {
    Word head;
    Word tail;
    std::memcpy(&head, from, sizeof head);
    std::memcpy(&tail, from + count - sizeof tail, sizeof tail);
    std::memcpy(to, &head, sizeof head);
    std::memcpy(to + count - sizeof tail, &tail, sizeof tail);
}

// copy_text copies `count` characters; the short pieces that make most of a
// configuration line go without a call.
inline void copy_text(char* to, const char* from, std::size_t count) noexcept {
    if (count > 16) {
        std::memcpy(to, from, count);
    } else if (count >= 8) {
        copy_ends<std::uint64_t>(to, from, count);
    } else if (count >= 4) {
        copy_ends<std::uint32_t>(to, from, count);
    } else if (count > 0) {
        to[0] = from[0];
        to[count / 2] = from[count / 2];
        to[count - 1] = from[count - 1];
    }
}

}  // namespace common
