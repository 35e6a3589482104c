// Cells that live until the program ends. The system never releases a list
// cell, tree node or machine record one by one, so they come from a bump
// arena: allocation is cheap, and the blocks stay reachable to the end, which
// keeps leak checkers quiet without running any destructor.
#pragma once

#include <cstddef>
#include <new>
#include <utility>

namespace common {

// Raw, suitably aligned storage that is never given back.
void* arena_allocate(std::size_t size, std::size_t alignment);

// Bytes handed out so far (for benchmarks that watch memory growth).
std::size_t arena_bytes_used();

template <class T, class... Args>
T* make(Args&&... args) {
    void* storage = arena_allocate(sizeof(T), alignof(T));
    return ::new (storage) T{std::forward<Args>(args)...};
}

}  // namespace common
