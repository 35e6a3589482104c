// Cells of lists, trees and machine records come from a bump arena: cheap to
// allocate, never released one by one, no destructor run. What a stretch of
// the program built and no one can reach any more (a finished machine run,
// a finished activation of velkor) is given back as a whole by a scope that
// rewinds the arena to where it stood, so memory is bounded by the largest
// stretch and not by the sum of all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>

#include "common/sanitizers.hpp"

namespace common {

namespace arena_detail {
// The room left in the arena's current block, [cursor, limit); both null
// before the first block. Plain globals with trivial destruction: cells stay
// usable after static destructors have run.
inline unsigned char* cursor = nullptr;
inline unsigned char* limit = nullptr;

// aligned_up returns `address` rounded up to a multiple of `alignment` (a
// power of two).
constexpr std::uintptr_t aligned_up(std::uintptr_t address, std::size_t alignment) {
    return (address + alignment - 1) & ~(std::uintptr_t{alignment} - 1);
}

// allocate_in_new_block is arena_allocate where the room left does not take
// the cell: it begins a block (or, under AddressSanitizer, marks every cell
// as it is handed out).
void* allocate_in_new_block(std::size_t size, std::size_t alignment);
}  // namespace arena_detail

// Raw storage of `size` bytes aligned to `alignment` (a power of two), held
// until a scope that was open before it closes (or to the end of the
// program). Raises STORAGE_ERROR when the system gives no more memory. Inline,
// for most cells of a program take a few bytes each, and a cell that fits in
// the room left costs an addition and a test.
inline void* arena_allocate(std::size_t size, std::size_t alignment) {
    if constexpr (!address_sanitizer) {
        const auto at = reinterpret_cast<std::uintptr_t>(arena_detail::cursor);
        const auto end = reinterpret_cast<std::uintptr_t>(arena_detail::limit);
        const std::uintptr_t start = arena_detail::aligned_up(at, alignment);
        if (size != 0 && start <= end && size <= end - start) {
            arena_detail::cursor = reinterpret_cast<unsigned char*>(start + size);
            return reinterpret_cast<void*>(start);
        }
    }
    return arena_detail::allocate_in_new_block(size, alignment);
}

// make returns a new cell T{args...} in the arena. No destructor ever runs
// for a cell, whether a scope gives its storage back or the program ends, so
// a cell may own nothing that needs one: a type that does (a std::string, a
// std::vector) does not compile here. Tables and sets of a size fixed at run
// time take plain cells with arena_allocate beside their record.
template <class T, class... Args>
T* make(Args&&... args) {
    static_assert(std::is_trivially_destructible_v<T>, "an arena cell needs no destructor");
    void* storage = arena_allocate(sizeof(T), alignof(T));
    return ::new (storage) T{std::forward<Args>(args)...};
}

// A position of the arena. rewind_arena gives back everything allocated
// after it; the storage is kept for what is allocated next. The arena stands
// where a mark was taken exactly when it holds nothing allocated since.
struct arena_mark {
    void* block;
    unsigned char* cursor;
};

arena_mark arena_position();
void rewind_arena(arena_mark mark);

// arena_scope rewinds the arena, when it goes, to where it stood when it was
// made. Whatever was allocated inside it must be unreachable by then: its
// storage is reused, and no destructor runs. Scopes nest like blocks.
class arena_scope {
public:
    arena_scope() : mark_(arena_position()) {}
    ~arena_scope() { rewind_arena(mark_); }
    arena_scope(const arena_scope&) = delete;
    arena_scope& operator=(const arena_scope&) = delete;

private:
    arena_mark mark_;
};

}  // namespace common
