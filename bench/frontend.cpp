// Scanner and parser of the While front end on generated programs of 10^4,
// 10^5 and 10^6 statements: the time per input byte and per token should
// stay flat as the program grows.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "common/arena.hpp"
#include "frontend/comtypes.hpp"
#include "frontend/scannerpak.hpp"

namespace {

// A program of `statements` statements, cycling through every statement form.
std::string program(std::int64_t statements) {
    static constexpr const char* forms[] = {
        "x := (x + 1)",
        "while x < 10 do y := (y * 2) od",
        "if a <= b then skip else z := ((a div 2) - b) fi",
        "skip",
    };
    std::string text;
    for (std::int64_t i = 0; i < statements; ++i) {
        if (i > 0) {
            text += ";\n";
        }
        text += forms[i % 4];
    }
    return text;
}

// One untimed scan and parse: its tokens and the arena bytes that the scan
// and the parse built. Its storage stays mapped for the timed passes.
struct first_pass {
    std::int64_t tokens = 0;
    std::size_t scan_bytes = 0;
    std::size_t parse_bytes = 0;
};

first_pass warm_up(const std::string& text) {
    const common::arena_scope scope;
    first_pass pass;
    const std::size_t before = common::arena_bytes_used();
    const scannerpak::listoftoken list = scannerpak::scanner(text);
    pass.scan_bytes = common::arena_bytes_used() - before;
    for (scannerpak::listoftoken cell = list; cell != nullptr; cell = cell->rest) {
        ++pass.tokens;
    }
    benchmark::DoNotOptimize(comtypes::creategb(list, nullptr, nullptr));
    pass.parse_bytes = common::arena_bytes_used() - before - pass.scan_bytes;
    return pass;
}

// Bytes and tokens per second, and the arena bytes built per input byte.
void report(benchmark::State& state, const std::string& text, std::int64_t tokens, std::size_t arena_bytes) {
    const auto bytes = static_cast<std::int64_t>(text.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * bytes);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * tokens);
    state.counters["arena_bytes_per_input_byte"] =
        static_cast<double>(arena_bytes) / static_cast<double>(bytes);
}

// Each pass gives its cells back when it ends, so the passes reuse storage
// that the warm-up mapped: these figures leave out the faults of fresh pages,
// which the whole-process measurement includes.
void scan(benchmark::State& state) {
    const std::string text = program(state.range(0));
    const first_pass pass = warm_up(text);
    for (auto _ : state) {
        const common::arena_scope scope;
        benchmark::DoNotOptimize(scannerpak::scanner(text));
    }
    report(state, text, pass.tokens, pass.scan_bytes);
}

void scan_and_parse(benchmark::State& state) {
    const std::string text = program(state.range(0));
    const first_pass pass = warm_up(text);
    for (auto _ : state) {
        const common::arena_scope scope;
        const comtypes::grbaum tree = comtypes::creategb(scannerpak::scanner(text), nullptr, nullptr);
        if (tree == nullptr) {
            state.SkipWithError("generated program rejected");
            break;
        }
        benchmark::DoNotOptimize(tree);
    }
    report(state, text, pass.tokens, pass.scan_bytes + pass.parse_bytes);
}

BENCHMARK(scan)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->MinTime(1.0)->Unit(benchmark::kMillisecond);
BENCHMARK(scan_and_parse)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->MinTime(1.0)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
