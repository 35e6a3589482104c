#include "arena.hpp"

#include <cstdint>
#include <cstdlib>

#include "errors.hpp"

namespace common {
namespace {

struct block {
    block* previous;
    std::size_t size;
};

constexpr std::size_t block_size = std::size_t{1} << 20;

// Plain globals with trivial destruction: the chain stays reachable after
// static destructors have run.
block* current_block = nullptr;
unsigned char* cursor = nullptr;
unsigned char* limit = nullptr;
std::size_t used = 0;

void new_block(std::size_t at_least) {
    std::size_t size = block_size;
    if (at_least + sizeof(block) + alignof(std::max_align_t) > size) {
        size = at_least + sizeof(block) + alignof(std::max_align_t);
    }
    void* raw = std::malloc(size);
    if (raw == nullptr) {
        raise(storage_error_name, place{"arena", __LINE__});
    }
    auto* fresh = static_cast<block*>(raw);
    fresh->previous = current_block;
    fresh->size = size;
    current_block = fresh;
    cursor = static_cast<unsigned char*>(raw) + sizeof(block);
    limit = static_cast<unsigned char*>(raw) + size;
}

unsigned char* aligned(unsigned char* pointer, std::size_t alignment) {
    auto address = reinterpret_cast<std::uintptr_t>(pointer);
    address = (address + alignment - 1) & ~(static_cast<std::uintptr_t>(alignment) - 1);
    return reinterpret_cast<unsigned char*>(address);
}

}  // namespace

void* arena_allocate(std::size_t size, std::size_t alignment) {
    if (size == 0) {
        size = 1;
    }
    unsigned char* start = cursor == nullptr ? nullptr : aligned(cursor, alignment);
    if (start == nullptr || start + size > limit) {
        new_block(size + alignment);
        start = aligned(cursor, alignment);
    }
    cursor = start + size;
    used += size;
    return start;
}

std::size_t arena_bytes_used() {
    return used;
}

}  // namespace common
