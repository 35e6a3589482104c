#include "common/text_buffer.hpp"

#include <cstdlib>

#include "common/errors.hpp"

namespace common {

text_buffer::text_buffer(std::size_t capacity) {
    capacity = capacity == 0 ? 1 : capacity;
    begin_ = static_cast<char*>(std::malloc(capacity));
    if (begin_ == nullptr) {
        storage_exhausted();
    }
    at_ = begin_;
    end_ = begin_ + capacity;
}

text_buffer::~text_buffer() {
    std::free(begin_);
}

void text_buffer::grow(std::size_t count) {
    const std::size_t used = size();
    const std::size_t capacity = static_cast<std::size_t>(end_ - begin_);
    if (count > SIZE_MAX / 2 - used) {
        storage_exhausted();
    }
    std::size_t wanted = capacity < SIZE_MAX / 2 ? 2 * capacity : SIZE_MAX;
    if (wanted < used + count) {
        wanted = used + count;
    }
    char* grown = static_cast<char*>(std::realloc(begin_, wanted));
    if (grown == nullptr) {
        storage_exhausted();
    }
    begin_ = grown;
    at_ = grown + used;
    end_ = grown + wanted;
}

}  // namespace common
