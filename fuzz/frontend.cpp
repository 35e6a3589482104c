// Fuzz target of the front end: any bytes as a program text through the
// scanner and the parser; a tree is drawn into a writer that discards and
// converted into the machine's abstract syntax and environment.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "driver/printpak.hpp"
#include "frontend/comtypes.hpp"
#include "frontend/scannerpak.hpp"
#include "fuzz/fuzz_support.hpp"
#include "machine/baumwandler_package.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzz::run_input(
        data, size,
        [](std::string_view text) {
            const scannerpak::listoftoken tokens = scannerpak::scanner(text);
            scannerpak::listoftoken left = nullptr;
            std::string message;
            const comtypes::grbaum tree = comtypes::creategb(tokens, &left, &message);
            if (tree == nullptr) {
                // A failed parse says why; only the empty program says nothing.
                if ((tokens == nullptr) != message.empty()) {
                    __builtin_trap();
                }
                return;
            }
            fuzz::discarding_writer drawing;
            printpak::printgb(tree, drawing, true);
            baumwandler_package::var_tupel(tree, nullptr);
            baumwandler_package::baum_wandler(tree);
        },
        fuzz::front_end_outcomes);
}
