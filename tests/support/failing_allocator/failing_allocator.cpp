// An allocator that fails on purpose, preloaded into a program that a test
// runs (LD_PRELOAD): it counts every call of malloc, calloc, realloc and the
// aligned forms from the start of the process, the dynamic loader's and the
// C++ runtime's own included, and fails as FAILING_ALLOCATOR says:
//   only:K   the call numbered K alone (the first call is 0);
//   from:K   every call from the one numbered K on (from:0 fails them all).
// A failed call returns null with errno ENOMEM, as the C library's does when
// memory is out; every other call, and free, goes to the C library's own.
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* pointer);
}

namespace {

// The programs allocate on one thread at a time, and the count only has to
// tell the calls apart, not survive a race.
long calls = 0;

// fails counts the call and returns true when it is to fail, with errno set.
bool fails() noexcept {
    const long number = calls++;
    const char* mode = std::getenv("FAILING_ALLOCATOR");
    if (mode == nullptr) {
        return false;
    }
    const bool only = std::strncmp(mode, "only:", 5) == 0;
    const bool from = std::strncmp(mode, "from:", 5) == 0;
    if (!only && !from) {
        return false;
    }
    const long k = std::strtol(mode + 5, nullptr, 10);
    if (only ? number != k : number < k) {
        return false;
    }
    errno = ENOMEM;
    return true;
}

}  // namespace

extern "C" {

void* malloc(std::size_t size) noexcept {
    return fails() ? nullptr : __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size) noexcept {
    return fails() ? nullptr : __libc_calloc(count, size);
}

void* realloc(void* pointer, std::size_t size) noexcept {
    return fails() ? nullptr : __libc_realloc(pointer, size);
}

void* memalign(std::size_t alignment, std::size_t size) noexcept {
    return fails() ? nullptr : __libc_memalign(alignment, size);
}

void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept {
    return fails() ? nullptr : __libc_memalign(alignment, size);
}

int posix_memalign(void** pointer, std::size_t alignment, std::size_t size) noexcept {
    if (fails()) {
        return ENOMEM;
    }
    void* block = __libc_memalign(alignment, size);
    if (block == nullptr) {
        return ENOMEM;
    }
    *pointer = block;
    return 0;
}

void free(void* pointer) noexcept {
    __libc_free(pointer);
}
}
