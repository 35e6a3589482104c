// The start-up of every fuzz target: libFuzzer runs on a thread with
// velkor's stack, and the process is prepared before the first input.
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "common/program.hpp"
#include "frontend/comtypes.hpp"
#include "frontend/token_automaton.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" int LLVMFuzzerRunDriver(int* argc, char*** argv,
                                   int (*test_one_input)(const std::uint8_t*, std::size_t));

namespace {

// velkor's stack holds the parser's full nesting limit and the reserved
// levels of levels_that_fit under the sanitizers too, whose frames are the
// largest.
static_assert((comtypes::nesting_limit + common::reserved_levels) * comtypes::stack_per_nesting_level <
              common::main_stack_size);

// Sets how the calling thread takes SIGALRM.
void alarm_signal(int how) {
    sigset_t alarm;
    sigemptyset(&alarm);
    sigaddset(&alarm, SIGALRM);
    if (pthread_sigmask(how, &alarm, nullptr) != 0) {
        std::abort();
    }
}

}  // namespace

// libFuzzer's own main would run every input on the process's first thread,
// whose 8 MiB stack holds some 600 levels of nesting under the sanitizers:
// deeper trees would never be drawn, converted or run. Here all of libFuzzer
// runs where velkor's main procedure runs, on run_on_large_stack's thread,
// and an input costs no more than it did. libFuzzer notices a slow input by
// SIGALRM and takes it only on its own thread, so this thread, which only
// waits, leaves the signal to it.
int main(int argc, char** argv) {
    int status = 1;
    alarm_signal(SIG_BLOCK);
    common::run_on_large_stack([&] {
        alarm_signal(SIG_UNBLOCK);
        status = LLVMFuzzerRunDriver(&argc, &argv, LLVMFuzzerTestOneInput);
    });
    return status;
}

// Before the first input: the scanner's automata, kept to the end of the
// process outside the arena for every input, are built here, so that no
// input's time counts their building. Standard output, where the scanner
// writes its messages, goes to /dev/null; libFuzzer reports on standard
// error.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    (void)scannerpak::scanner_automaton();  // and the sixteen it is derived from
    // The writer of standard output writes to descriptor 1 itself: the
    // descriptor is what goes, not only stdio's stream.
    std::fflush(stdout);
    const int null_device = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null_device < 0 || ::dup2(null_device, STDOUT_FILENO) < 0) {
        std::abort();
    }
    ::close(null_device);
    return 0;
}
