// Fuzz target of the machine: any bytes as a program text; a program that
// parses runs through the trace into a writer that discards, for at most a
// few thousand steps, so that an input takes milliseconds.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/errors.hpp"
#include "frontend/comtypes.hpp"
#include "frontend/scannerpak.hpp"
#include "fuzz/fuzz_support.hpp"
#include "trace/machetrace.hpp"

namespace {

// The steps a run may take: far fewer than velkor's step_limit.
constexpr long steps_per_input = 2'000;

// A run ends at its end state, at a failed step or at the step limit: the
// reports of the file form.
constexpr fuzz::outcome run_outcomes[] = {
    {baumwandler_package::whileinit_error, baumwandler_package::places::trace_file},
    {common::storage_error_name, baumwandler_package::places::step_limit_reached},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzz::run_input(
        data, size,
        [](std::string_view text) {
            const comtypes::grbaum tree = comtypes::creategb(scannerpak::scanner(text), nullptr, nullptr);
            if (tree != nullptr) {
                fuzz::discarding_writer trace;
                baumwandler_package::machetrace(tree, trace, steps_per_input);
            }
        },
        fuzz::front_end_outcomes, run_outcomes);
}
