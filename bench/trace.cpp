// The whole trace of a counting loop into a file: the time per written byte
// should not grow with the length of the run, and the trace should be
// written at no less than a tenth of the speed at which `cp` copies the
// finished trace file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/textio.hpp"
#include "frontend/comtypes.hpp"
#include "frontend/scannerpak.hpp"
#include "trace/machetrace.hpp"

namespace {

namespace fs = std::filesystem;
using clock_type = std::chrono::steady_clock;

// One turn of `while n < k do n := (n + 1) od` takes fourteen machine steps.
constexpr long steps_per_turn = 14;

comtypes::grbaum counting_loop(long steps) {
    const std::string program =
        "n := 0; while n < " + std::to_string(steps / steps_per_turn) + " do n := (n + 1) od";
    return comtypes::creategb(scannerpak::scanner(program), nullptr, nullptr);
}

fs::path scratch() {
    const fs::path folder = fs::temp_directory_path() / ("bench-trace-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    return folder;
}

double seconds_since(clock_type::time_point start) {
    return std::chrono::duration<double>(clock_type::now() - start).count();
}

void trace_counting_loop_to_file(benchmark::State& state) {
    const comtypes::grbaum baum = counting_loop(state.range(0));
    const fs::path folder = scratch();
    const std::string trace_path = (folder / "trace.txt").string();
    double trace_seconds = 0;
    for (auto _ : state) {
        const auto start = clock_type::now();
        common::out_file datei;
        datei.create(trace_path);
        baumwandler_package::machetrace(baum, datei);
        datei.close();
        trace_seconds += seconds_since(start);
    }
    const auto bytes = static_cast<double>(fs::file_size(trace_path));

    // The same bytes copied by cp, measured here on the finished file.
    const std::string copy = "cp '" + trace_path + "' '" + (folder / "copy.txt").string() + "'";
    constexpr int copies = 5;
    double copy_seconds = 0;
    for (int i = 0; i < copies; ++i) {
        const auto start = clock_type::now();
        if (std::system(copy.c_str()) != 0) {
            state.SkipWithError("cp failed");
            break;
        }
        copy_seconds += seconds_since(start);
    }
    fs::remove_all(folder);

    const double trace_rate = bytes * static_cast<double>(state.iterations()) / trace_seconds;
    const double copy_rate = bytes * copies / copy_seconds;
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    state.counters["trace_bytes"] = bytes;
    state.counters["ns_per_byte"] = 1e9 / trace_rate;
    state.counters["cp_ns_per_byte"] = 1e9 / copy_rate;
    state.counters["speed_vs_cp"] = trace_rate / copy_rate;  // at least 0.1 is required
}
BENCHMARK(trace_counting_loop_to_file)
    ->Arg(10'000)
    ->Arg(50'000)
    ->Arg(100'000)
    ->Arg(250'000)
    ->Arg(500'000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
