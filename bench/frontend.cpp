// Scanner and parser of the While front end on generated programs: the time
// per input byte should stay flat as the program grows.
#include <benchmark/benchmark.h>

#include <string>

#include "common/arena.hpp"
#include "frontend/comtypes.hpp"
#include "frontend/scannerpak.hpp"

namespace {

// A program of `statements` statements, cycling through every statement form.
std::string program(int statements) {
    static constexpr const char* forms[] = {
        "x := (x + 1)",
        "while x < 10 do y := (y * 2) od",
        "if a <= b then skip else z := ((a div 2) - b) fi",
        "skip",
    };
    std::string text;
    for (int i = 0; i < statements; ++i) {
        if (i > 0) {
            text += ";\n";
        }
        text += forms[i % 4];
    }
    return text;
}

void scan_and_parse(benchmark::State& state) {
    const std::string text = program(static_cast<int>(state.range(0)));
    const std::size_t before = common::arena_bytes_used();
    for (auto _ : state) {
        const comtypes::grbaum tree = comtypes::creategb(scannerpak::scanner(text), nullptr, nullptr);
        if (tree == nullptr) {
            state.SkipWithError("generated program rejected");
            break;
        }
        benchmark::DoNotOptimize(tree);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
    state.counters["arena_bytes_per_input_byte"] = static_cast<double>(common::arena_bytes_used() - before) /
                                                   static_cast<double>(state.iterations() * text.size());
}
// Cells are never freed: the process grows by about 65 bytes per input byte
// and iteration, and fresh pages grow dearer as the process grows, so every
// size runs about once and the total stays near 2 GB.
BENCHMARK(scan_and_parse)->Arg(10'000)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(scan_and_parse)->Arg(100'000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(scan_and_parse)->Arg(1'000'000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
