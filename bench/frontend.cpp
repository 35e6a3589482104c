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

// One untimed scan and parse, which returns the number of tokens. Its
// storage stays mapped for the timed passes.
std::int64_t warm_up(const std::string& text) {
    const common::arena_scope scope;
    std::int64_t tokens = 0;
    const scannerpak::listoftoken list = scannerpak::scanner(text);
    for (scannerpak::listoftoken cell = list; cell != nullptr; cell = cell->rest) {
        ++tokens;
    }
    benchmark::DoNotOptimize(comtypes::creategb(list, nullptr, nullptr));
    return tokens;
}

// Bytes and tokens per second.
void report(benchmark::State& state, const std::string& text, std::int64_t tokens) {
    const auto bytes = static_cast<std::int64_t>(text.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * bytes);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * tokens);
}

// Each pass gives its cells back when it ends, so the passes reuse storage
// that the warm-up mapped: these figures leave out the faults of fresh pages,
// which the whole-process measurement includes.
void scan(benchmark::State& state) {
    const std::string text = program(state.range(0));
    const std::int64_t tokens = warm_up(text);
    for (auto _ : state) {
        const common::arena_scope scope;
        benchmark::DoNotOptimize(scannerpak::scanner(text));
    }
    report(state, text, tokens);
}

void scan_and_parse(benchmark::State& state) {
    const std::string text = program(state.range(0));
    const std::int64_t tokens = warm_up(text);
    for (auto _ : state) {
        const common::arena_scope scope;
        const comtypes::grbaum tree = comtypes::creategb(scannerpak::scanner(text), nullptr, nullptr);
        if (tree == nullptr) {
            state.SkipWithError("generated program rejected");
            break;
        }
        benchmark::DoNotOptimize(tree);
    }
    report(state, text, tokens);
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
