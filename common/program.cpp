#include "common/program.hpp"

#include <limits.h>
#include <pthread.h>
#include <sys/auxv.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <optional>
#include <string>

#include "common/errors.hpp"
#include "common/textio.hpp"

namespace common {
namespace {

// The smallest stack that run_on_large_stack asks a thread for; below it the
// calling thread's own stack serves as well.
constexpr std::size_t smallest_stack = std::size_t{256} << 10;

struct thread_call {
    const std::function<void()>* body;
    std::exception_ptr failure;
};

void* thread_entry(void* argument) {
    auto* call = static_cast<thread_call*>(argument);
    try {
        (*call->body)();
    } catch (...) {
        call->failure = std::current_exception();
    }
    return nullptr;
}

// run_on_thread runs `body` on a new thread with a stack of `stack_size`
// bytes and returns true, or returns false at once when no such thread can
// be had. An exception thrown by `body` is rethrown here.
bool run_on_thread(const std::function<void()>& body, std::size_t stack_size) {
    thread_call call{&body, nullptr};
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, stack_size);
    pthread_t thread;
    const int started = pthread_create(&thread, &attributes, thread_entry, &call);
    pthread_attr_destroy(&attributes);
    if (started != 0) {
        return false;
    }
    pthread_join(thread, nullptr);
    if (call.failure) {
        std::rethrow_exception(call.failure);
    }
    return true;
}

// A quarter of the address-space limit, or `stack_size` when that is less
// or there is no limit.
std::size_t stack_within_address_space(std::size_t stack_size) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return stack_size;
    }
    return std::min<std::size_t>(stack_size, limit.rlim_cur / 4);
}

// What the arguments and the environment that the kernel puts on the
// initial stack at exec take at most: a quarter of the stack limit, at most
// 6 MiB (three quarters of the default limit), yet 128 KiB under any limit.
std::size_t arguments_bound(const rlimit& stack) noexcept {
    constexpr std::size_t most = std::size_t{6} << 20;
    constexpr std::size_t least = std::size_t{128} << 10;
    const std::size_t quarter = stack.rlim_cur == RLIM_INFINITY ? most : stack.rlim_cur / 4;
    return std::max(std::min(quarter, most), least);
}

// An address at or above the top of the process's initial stack, the one its
// main thread starts on; 0 when none is known. The kernel's copy of the
// program's name (AT_EXECFN) ends one pointer below that top, which is a
// page boundary. When the name ends elsewhere, it is an argument's: the
// dynamic loader, started with the program as its argument, names the
// program so; then the rest of the arguments, the environment and the
// loader's own name may stand above it.
std::uintptr_t initial_stack_top(const rlimit& stack) noexcept {
    const std::uintptr_t name = ::getauxval(AT_EXECFN);
    const std::uintptr_t page = ::getauxval(AT_PAGESZ);
    if (name == 0 || page == 0) {
        return 0;
    }
    const std::uintptr_t end = name + std::strlen(reinterpret_cast<const char*>(name)) + 1 + sizeof(void*);
    if (end % page == 0) {
        return end;
    }
    const std::uintptr_t above = end + arguments_bound(stack) + PATH_MAX;
    return above < end ? 0 : (above + page - 1) / page * page;
}

// The lowest address of the calling thread's stack, or an address above it
// that the stack surely reaches; 0 when nothing can be known. The thread
// library knows every stack but the initial one, which it finds in
// /proc/self/maps. Without /proc, or with no descriptor free to read it,
// the initial stack's low end lies the stack limit below its top; under no
// limit, or one that cannot be read, the stack is taken to be the smallest
// that run_on_large_stack asks a thread for. Should the thread library fail
// on another thread, that estimate lies above the caller: no level fits.
std::uintptr_t stack_low_end() noexcept {
#if defined(__GLIBC__)
    pthread_attr_t attributes;
    if (pthread_getattr_np(pthread_self(), &attributes) == 0) {
        void* address = nullptr;
        std::size_t size = 0;
        const bool known = pthread_attr_getstack(&attributes, &address, &size) == 0;
        pthread_attr_destroy(&attributes);
        if (known) {
            return reinterpret_cast<std::uintptr_t>(address);
        }
    }
#endif
    rlimit stack{};
    if (::getrlimit(RLIMIT_STACK, &stack) != 0) {
        stack.rlim_cur = stack.rlim_max = RLIM_INFINITY;
    }
    const std::uintptr_t top = initial_stack_top(stack);
    const std::size_t size = stack.rlim_cur == RLIM_INFINITY ? smallest_stack : stack.rlim_cur;
    return top > size ? top - size : 0;
}

// report writes the unhandled-error report in pieces: it must not need
// memory, since running out of it is one of the errors it reports.
void report(std::string_view name, std::string_view message) noexcept {
    const auto piece = [](std::string_view text) { std::fwrite(text.data(), 1, text.size(), stderr); };
    piece("\nraised ");
    piece(name);
    if (!message.empty()) {
        piece(" : ");
        piece(message);
    }
    piece("\n");
    std::fflush(stderr);
}

// Finalisation: every file still open is closed, then standard output is
// flushed. `first` is the first error of the program, if any; a failure
// that came before it, or the first one met here when there is none, takes
// its place.
void finalise(std::optional<named_error>& first) noexcept {
    out_file::close_all(first);
    try {
        standard_output().flush();
    } catch (...) {
        keep_first(first);
    }
}

// finish finalises and returns the exit status, after the report when there
// is an error.
int finish(std::optional<named_error>& first) noexcept {
    finalise(first);
    if (!first) {
        return 0;
    }
    report(first->name(), first->message());
    return 1;
}

// What an exception that is no named error and no want of memory is
// reported as; constant, like the error of a want of memory.
constexpr named_error::texts program_error_texts{program_error_name, "", "PROGRAM_ERROR"};
static_assert(program_error_texts.name == program_error_texts.what);

// end_without_room ends a program whose error cannot be thrown, for want of
// memory: finalisation and the report, as run_program gives them, but here.
// Should finalisation meet an error that cannot be thrown either, the report
// of the first error follows at once.
void end_without_room(const named_error& error) noexcept {
    static std::optional<named_error>* ending = nullptr;
    if (ending != nullptr) {
        if (!*ending) {
            *ending = error;
        }
        report((*ending)->name(), (*ending)->message());
        std::_Exit(1);
    }
    std::optional<named_error> first = error;
    ending = &first;
    std::_Exit(finish(first));
}

// take_error keeps the error of the exception being handled: a named error
// as it is, a want of memory as STORAGE_ERROR, anything else as
// PROGRAM_ERROR. None of them needs memory.
void take_error(std::optional<named_error>& first) noexcept {
    try {
        throw;
    } catch (const named_error& error) {
        first = error;
    } catch (const std::bad_alloc&) {
        first = storage_error();
    } catch (...) {
        first = named_error(program_error_texts);
    }
}

}  // namespace

void run_on_large_stack(const std::function<void()>& body, std::size_t stack_size) {
    std::size_t size = stack_within_address_space(stack_size);
    while (!run_on_thread(body, size)) {
        if (size <= smallest_stack) {
            // No thread to be had: run on the stack we have.
            body();
            return;
        }
        size = std::max(size / 2, smallest_stack);
    }
}

int levels_that_fit(int limit, std::size_t bytes_per_level) noexcept {
    const std::uintptr_t low_end = stack_low_end();
    const auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    const std::size_t reserve = reserved_levels * bytes_per_level;
    if (low_end == 0 || here < low_end || here - low_end <= reserve) {
        return 0;
    }
    const std::size_t levels = (here - low_end - reserve) / bytes_per_level;
    return levels < static_cast<std::size_t>(limit) ? static_cast<int>(levels) : limit;
}

int run_program(void (*main_procedure)()) {
    // A closed pipe, or a file at the file-size limit, must be a reported
    // write error, not a signal.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    prepare_for_want_of_memory(end_without_room);
    // The error is taken where it was raised: carried to another thread it
    // would be thrown again, and that takes memory.
    std::optional<named_error> first;
    run_on_large_stack([&first, main_procedure] {
        try {
            main_procedure();
        } catch (...) {
            take_error(first);
        }
    });
    return finish(first);
}

}  // namespace common
