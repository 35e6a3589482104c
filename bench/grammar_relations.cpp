// The relations of a grammar at the size of the While grammar (9
// nonterminals, 19 terminals, 17 alternatives): nothing is cached, so every
// relation recomputes the epsilon set, with its deep copy of the rules, once
// per alternative.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/symbol28.hpp"
#include "grammar/relationenpaket.hpp"

namespace {

using bench::symbol28;

constexpr symbol28 nt(int n) {
    return static_cast<symbol28>(n);
}
constexpr symbol28 t(int n) {
    return static_cast<symbol28>(9 + n);
}

// A chain of nonterminals with terminals between them and two empty
// alternatives, so that the epsilon passes and Neben have work to do.
void fill(grammar::relationenpaket::relationen<symbol28>& relations) {
    for (int n = 0; n < 8; ++n) {
        const std::vector<symbol28> chain{nt(n + 1), t(n), nt(n + 1)};
        const std::vector<symbol28> leaf{t(n + 8)};
        relations.gg.neuealternativehinzu(nt(n), chain);
        relations.gg.neuealternativehinzu(nt(n), leaf);
    }
    relations.gg.neuealternativehinzu(nt(8), std::vector<symbol28>{});
}

void first_and_neben_while_size(benchmark::State& state) {
    grammar::relationenpaket::relationen<symbol28> relations;
    fill(relations);
    for (auto _ : state) {
        benchmark::DoNotOptimize(relations.first());
        benchmark::DoNotOptimize(relations.neben());
    }
}
// Their pair lists stay allocated too.
BENCHMARK(first_and_neben_while_size)->Iterations(1000);

void epszaehler_while_size(benchmark::State& state) {
    grammar::relationenpaket::relationen<symbol28> relations;
    fill(relations);
    for (auto _ : state) {
        benchmark::DoNotOptimize(relations.epszaehler());
    }
}
// Every run allocates its deep copy for good: a fixed count keeps the arena small.
BENCHMARK(epszaehler_while_size)->Iterations(20000);

}  // namespace

BENCHMARK_MAIN();
