// The While machine alone on a counting loop: steps with their rule lines
// into a temporary file, no configuration rendered. The time per step
// should stay flat from 10,000 to 1,000,000 steps.
// Each run gives back what it built, as a trace run does, so later runs
// reuse the storage of the first.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "common/arena.hpp"
#include "common/textio.hpp"
#include "frontend/comtypes.hpp"
#include "frontend/scannerpak.hpp"
#include "machine/baumwandler_package.hpp"
#include "trace/machetrace.hpp"

namespace {

namespace bp = baumwandler_package;

// One turn of the loop takes 14 steps; the assignment before it, the exit
// and the end take 13 more.
constexpr std::int64_t steps_per_turn = 14;

void counting_loop(benchmark::State& state) {
    const std::int64_t turns = state.range(0) / steps_per_turn;
    const std::string text = "n := " + std::to_string(turns) + "; while n > 0 do n := (n - 1) od";
    const comtypes::grbaum tree = comtypes::creategb(scannerpak::scanner(text), nullptr, nullptr);
    common::out_file trace;
    trace.create("");
    std::int64_t steps = 0;
    for (auto _ : state) {
        const common::arena_scope run;
        bp::zustand z = bp::start_state(tree);
        std::int64_t run_steps = 0;
        while (z.form == bp::zustand_arten::AKT) {
            z = bp::delta2_ft(z, trace);
            ++run_steps;
        }
        benchmark::DoNotOptimize(z);
        steps += run_steps;
        state.counters["steps_per_run"] = static_cast<double>(run_steps);
    }
    trace.close();
    state.SetItemsProcessed(steps);
    state.counters["ns_per_step"] = benchmark::Counter(
        static_cast<double>(steps), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(counting_loop)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
