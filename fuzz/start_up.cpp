// The start-up of every fuzz target, before its first input.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "frontend/scannerpak.hpp"

// Does what velkor does before its first program: the scanner's automata,
// which last for every input, are built once, outside the arena scope of
// any input. Standard output, where the scanner writes its messages, goes to
// /dev/null; libFuzzer reports on standard error.
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
