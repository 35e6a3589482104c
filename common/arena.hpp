// Cells of lists, trees and machine records come from a bump arena: cheap to
// allocate, never released one by one, no destructor run. What a stretch of
// the program built and no one can reach any more (a finished machine run,
// a finished activation of velkor) is given back as a whole by a scope that
// rewinds the arena to where it stood, so memory is bounded by the largest
// stretch and not by the sum of all.
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

namespace common {

// Raw, suitably aligned storage, held until a scope that was open before it
// closes (or to the end of the program). Raises STORAGE_ERROR when the
// system gives no more memory.
void* arena_allocate(std::size_t size, std::size_t alignment);

template <class T, class... Args>
T* make(Args&&... args) {
    void* storage = arena_allocate(sizeof(T), alignof(T));
    return ::new (storage) T{std::forward<Args>(args)...};
}

// make_scoped is make for cells that a scope gives back: no destructor runs
// when their storage is reused, so a cell that owned heap storage (a
// std::string) would leak it. The machine's records are made only through
// it. Once no area's cells own heap storage any more, this check belongs in
// make itself, for every cell.
template <class T, class... Args>
T* make_scoped(Args&&... args) {
    static_assert(std::is_trivially_destructible_v<T>, "a cell given back by a scope needs no destructor");
    return make<T>(std::forward<Args>(args)...);
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
