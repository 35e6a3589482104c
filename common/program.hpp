// The one entry of every program: the main procedure runs on a thread with a
// large explicit stack, and an error that nothing caught ends the program
// with the unhandled-error report.
#pragma once

#include <cstddef>
#include <functional>

#include "common/sanitizers.hpp"

namespace common {

inline constexpr std::size_t main_stack_size = std::size_t{512} << 20;

// Runs `body` on a thread with a stack of `stack_size` bytes and waits for it.
// Exceptions thrown by `body` are carried back and rethrown here. Under a
// limit of the address space the stack takes at most a quarter of it, so
// that the heap keeps the rest. When no thread with that stack can be had,
// each next try asks for half the stack, down to 256 KiB; when none is
// granted, `body` runs on the calling thread's own stack. Whatever stack
// `body` gets, levels_that_fit tells its recursions how deep they may go.
void run_on_large_stack(const std::function<void()>& body, std::size_t stack_size = main_stack_size);

// The levels of a recursion that levels_that_fit keeps in reserve for the
// calls below the deepest one.
inline constexpr std::size_t reserved_levels = 64;

// levels_that_fit returns how many levels of a recursion that takes
// `bytes_per_level` of stack each can still start from the caller: as many
// as the rest of the calling thread's stack holds after the reserved levels,
// and at most `limit`. Where the stack's low end cannot be found (the main
// thread's, without /proc or without a descriptor free to read it), it
// counts only what surely fits: the stack limit below the top of the initial
// stack, or 256 KiB when the limit is unlimited; none when not even that top
// is known.
int levels_that_fit(int limit, std::size_t bytes_per_level) noexcept;

// Runs a program's main procedure and returns its exit status: 0 at a normal
// end; 1 after the unhandled-error report, which follows finalisation (open
// files flushed and closed, standard output flushed) and goes to standard
// error. A write or close error is never lost: one that finalisation meets,
// or that a file met when it was closed as it went, ends the program with
// the report too. When several errors come, the first is reported. A
// closed pipe and a file grown to the file-size limit make a write fail
// with USE_ERROR instead of ending the program by a signal. A want of memory
// is STORAGE_ERROR, also where not even its exception could be thrown:
// there finalisation and the report come at once (common/errors.hpp).
int run_program(void (*main_procedure)());

}  // namespace common
