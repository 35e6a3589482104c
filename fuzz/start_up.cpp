// The start-up of every fuzz target, before its first input.
#include <cstdio>
#include <cstdlib>

#include "frontend/scannerpak.hpp"

// Does what velkor does before its first program: the scanner's automata,
// which last for every input, are built once, outside the arena scope of
// any input. Standard output, where the scanner writes its messages, goes to
// /dev/null; libFuzzer reports on standard error.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    (void)scannerpak::scandeas();
    if (std::freopen("/dev/null", "w", stdout) == nullptr) {
        std::abort();
    }
    return 0;
}
