// Boolean matrices at the sizes the grammar programs use: the transitive
// hull always runs |Z| products of |Z|^3 cell steps (28 symbols in the While
// grammar), and the hulls of First and Follow are computed a few times per run.
#include <benchmark/benchmark.h>

#include "bench/symbol28.hpp"
#include "grammar/matrix.hpp"
#include "grammar/toadi.hpp"

namespace {

namespace m = grammar::matrix;
using bench::symbol28;

m::z_matrix<symbol28> chain_matrix() {
    m::z_matrix<symbol28> z{};
    for (int i = 0; i + 1 < 28; ++i) {
        z[static_cast<symbol28>(i)][static_cast<symbol28>(i + 1)] = true;
    }
    return z;
}

void transitive_hull_28(benchmark::State& state) {
    const auto z = chain_matrix();
    for (auto _ : state) {
        benchmark::DoNotOptimize(m::transhuelle(z));
    }
}
BENCHMARK(transitive_hull_28);

// The Follow composition: two compositions and two reflexive hulls.
void follow_composition_28(benchmark::State& state) {
    const auto z = chain_matrix();
    for (auto _ : state) {
        auto r = m::transition(m::transition(m::reflextranshuelle(m::transponiere(z)), z),
                               m::reflextranshuelle(z));
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(follow_composition_28);

void pair_list_round_trip_28(benchmark::State& state) {
    const auto z = m::reflextranshuelle(chain_matrix());
    for (auto _ : state) {
        benchmark::DoNotOptimize(grammar::toadi::erzeugeadimatrix(grammar::toadi::erzeugemenge(z)));
    }
}
// Pair cells are never released, so the iterations are bounded.
BENCHMARK(pair_list_round_trip_28)->Iterations(2000);

}  // namespace

BENCHMARK_MAIN();
