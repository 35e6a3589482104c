// The one entry of every program: the main procedure runs on a thread with a
// large explicit stack, and an error that nothing caught ends the program
// with the unhandled-error report.
#pragma once

#include <cstddef>
#include <functional>

namespace common {

inline constexpr std::size_t main_stack_size = std::size_t{512} << 20;

// Runs `body` on a thread with a stack of `stack_size` bytes and waits for it.
// Exceptions thrown by `body` are carried back and rethrown here.
void run_on_large_stack(const std::function<void()>& body, std::size_t stack_size = main_stack_size);

// Runs a program's main procedure and returns its exit status: 0 at a normal
// end; 1 after the unhandled-error report, which follows finalisation (open
// files flushed and closed, standard output flushed) and goes to standard
// error. A write or close error is never lost: one that finalisation meets,
// or that a file met when it was closed as it went, ends the program with
// the report too. When several errors come, the first is reported. A
// closed pipe and a file grown to the file-size limit make a write fail
// with USE_ERROR instead of ending the program by a signal.
int run_program(void (*main_procedure)());

}  // namespace common
