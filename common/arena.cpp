#include "common/arena.hpp"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>

#include "common/errors.hpp"
#include "common/sanitizers.hpp"

#if defined(COMMON_ADDRESS_SANITIZER)
#include <sanitizer/asan_interface.h>
#include <sanitizer/lsan_interface.h>
#endif

namespace common {
namespace {

constexpr std::string_view module_name = "arena";

namespace places {
// The system gives no more memory: the line its report has always named.
inline constexpr place no_memory{module_name, 32};
}  // namespace places

// A block of the arena: this header, then the storage handed out.
struct block {
    block* previous;        // the block in use before this one; null for the first
    std::size_t size;       // of the whole mapping, header included
    unsigned char* filled;  // where allocation stopped when a later block began
};

// Blocks are mapped in huge-page units and hinted as such: the long runs
// touch tens of megabytes of fresh cells, and a fault per 4 KiB page would
// cost more than building the cells.
constexpr std::size_t huge_page = std::size_t{2} << 20;
constexpr std::size_t first_block_size = huge_page;
constexpr std::size_t largest_block_size = std::size_t{32} << 20;

// Plain globals with trivial destruction: cells stay usable after static
// destructors have run.
block* current_block = nullptr;
using arena_detail::cursor;
using arena_detail::limit;
block* spare_blocks = nullptr;  // given back by a rewind, kept for reuse
std::size_t next_block_size = first_block_size;

unsigned char* storage_of(block* b) {
    return reinterpret_cast<unsigned char*>(b) + sizeof(block);
}

unsigned char* end_of(block* b) {
    return reinterpret_cast<unsigned char*>(b) + b->size;
}

void poison(unsigned char* from, unsigned char* to) {
#if defined(COMMON_ADDRESS_SANITIZER)
    ASAN_POISON_MEMORY_REGION(from, static_cast<std::size_t>(to - from));
#else
    (void)from;
    (void)to;
#endif
}

void unpoison(unsigned char* from, std::size_t size) {
#if defined(COMMON_ADDRESS_SANITIZER)
    ASAN_UNPOISON_MEMORY_REGION(from, size);
#else
    (void)from;
    (void)size;
#endif
}

// map_block returns a fresh mapping of `size` bytes (a multiple of the huge
// page) aligned to the huge page.
block* map_block(std::size_t size) {
    const std::size_t span = size + huge_page;
    void* raw = ::mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) {
        raise(storage_error_name, places::no_memory);
    }
    auto* bytes = static_cast<unsigned char*>(raw);
    const auto address = reinterpret_cast<std::uintptr_t>(bytes);
    const std::size_t head = (huge_page - address % huge_page) % huge_page;
    if (head != 0) {
        ::munmap(bytes, head);
    }
    ::munmap(bytes + head + size, huge_page - head);  // never empty: head < huge_page
#if defined(MADV_HUGEPAGE)
    ::madvise(bytes + head, size, MADV_HUGEPAGE);  // a hint; without it pages are small
#endif
    auto* fresh = reinterpret_cast<block*>(bytes + head);
    fresh->size = size;
#if defined(COMMON_ADDRESS_SANITIZER)
    // The leak checker scans heap blocks, not mappings: what only arena cells
    // point to would look lost without this.
    __lsan_register_root_region(fresh, size);
#endif
    return fresh;
}

// take_spare returns a spare block with room for `needed` bytes, or null.
block* take_spare(std::size_t needed) {
    for (block** link = &spare_blocks; *link != nullptr; link = &(*link)->previous) {
        block* candidate = *link;
        if (candidate->size - sizeof(block) >= needed) {
            *link = candidate->previous;
            return candidate;
        }
    }
    return nullptr;
}

void new_block(std::size_t needed) {
    block* fresh = take_spare(needed);
    if (fresh == nullptr) {
        std::size_t size = next_block_size;
        if (needed + sizeof(block) > size) {
            size = (needed + sizeof(block) + huge_page - 1) / huge_page * huge_page;
        }
        fresh = map_block(size);
        next_block_size = std::min(next_block_size * 2, largest_block_size);
    }
    if (current_block != nullptr) {
        current_block->filled = cursor;
    }
    fresh->previous = current_block;
    current_block = fresh;
    cursor = storage_of(fresh);
    limit = end_of(fresh);
}

unsigned char* aligned(unsigned char* pointer, std::size_t alignment) {
    return reinterpret_cast<unsigned char*>(
        arena_detail::aligned_up(reinterpret_cast<std::uintptr_t>(pointer), alignment));
}

}  // namespace

void* arena_detail::allocate_in_new_block(std::size_t size, std::size_t alignment) {
    if (size == 0) {
        size = 1;
    }
    unsigned char* start = cursor == nullptr ? nullptr : aligned(cursor, alignment);
    if (start == nullptr || size > static_cast<std::size_t>(limit - start)) {
        new_block(size + alignment);
        start = aligned(cursor, alignment);
    }
    unpoison(start, size);
    cursor = start + size;
    return start;
}

arena_mark arena_position() {
    return arena_mark{current_block, cursor};
}

void rewind_arena(arena_mark mark) {
    const auto* target = static_cast<block*>(mark.block);
    // Blocks begun after the mark go back to the spare list whole.
    while (current_block != target) {
        check(current_block != nullptr, here());  // the mark is of an open scope
        block* done = current_block;
        poison(storage_of(done), end_of(done));
        current_block = done->previous;
        done->previous = spare_blocks;
        spare_blocks = done;
        cursor = current_block == nullptr ? nullptr : current_block->filled;
        limit = current_block == nullptr ? nullptr : end_of(current_block);
    }
    if (current_block == nullptr) {
        return;
    }
    poison(mark.cursor, limit);
    cursor = mark.cursor;
}

}  // namespace common
