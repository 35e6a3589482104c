// Text built in place: a growable run of characters that renderers append to
// piece by piece, with one test for room per piece. The trace builds every
// configuration line in one, at the cost of the characters alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "common/copy_text.hpp"  // what the writers in place copy with

namespace common {

class text_buffer {
public:
    // The room that a buffer starts with unless it is told otherwise; a
    // longer text grows it.
    static constexpr std::size_t default_capacity = 256;

    // An empty buffer with room for `capacity` characters. Running out of
    // memory here or later is storage_exhausted's (common/errors.hpp):
    // std::bad_alloc, or the program's end when not even that can be made.
    explicit text_buffer(std::size_t capacity = default_capacity);
    ~text_buffer();
    // The buffer owns its storage; a copy would have to double it for no use.
    text_buffer(const text_buffer&) = delete;
    text_buffer& operator=(const text_buffer&) = delete;

    [[nodiscard]] std::size_t size() const noexcept { return static_cast<std::size_t>(at_ - begin_); }
    [[nodiscard]] const char* data() const noexcept { return begin_; }
    [[nodiscard]] std::string_view view() const noexcept { return {begin_, size()}; }

    void clear() noexcept { at_ = begin_; }

    // A literal's length is known when compiling: its copy is a few moves.
    template <std::size_t N>
    void put(const char (&literal)[N]) {
        reserve(N - 1);
        std::memcpy(at_, literal, N - 1);
        at_ += N - 1;
    }
    void put(char character) {
        reserve(1);
        *at_++ = character;
    }
    // Writing in place: a writer takes the end of the text and of the room
    // after it (open), writes there and moves its own end on, asks for more
    // room at its end when it needs it (widen: what it wrote up to `at`
    // stays), and hands its end back (close). Between open and close the
    // buffer itself is not written to. Kept in the writer's own variables,
    // the two ends stay in registers, which a character stored through a
    // pointer into the buffer would otherwise make the compiler load again.
    struct room {
        char* at;
        char* end;
    };
    [[nodiscard]] room open() noexcept { return {at_, end_}; }
    void close(char* at) noexcept { at_ = at; }
    [[nodiscard]] room widen(char* at, std::size_t count) {
        at_ = at;
        reserve(count);
        return {at_, end_};
    }

private:
    // reserve makes room for `count` more characters at the end. What stands
    // stays; pointers into the buffer are void afterwards.
    void reserve(std::size_t count) {
        if (static_cast<std::size_t>(end_ - at_) < count) {
            grow(count);
        }
    }
    void grow(std::size_t count);

    char* begin_;
    char* at_;
    char* end_;
};

}  // namespace common
