#include "common/arena.hpp"

#include <benchmark/benchmark.h>

namespace {

struct cell {
    int value;
    cell* rest;
};

void arena_cells(benchmark::State& state) {
    for (auto _ : state) {
        cell* list = nullptr;
        for (int i = 0; i < 1000; ++i) {
            list = common::make<cell>(i, list);
        }
        benchmark::DoNotOptimize(list);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(arena_cells);

}  // namespace

BENCHMARK_MAIN();
