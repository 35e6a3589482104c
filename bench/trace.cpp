// The whole trace of a counting loop, configuration lines and rule lines,
// into a file and into a writer that discards it (/dev/null), at 10,000 and
// 100,000 steps and at the most that a trace takes, its step limit. The
// time per written byte and per step should stay flat from the smallest run
// to the largest. The file run also times `cp` of the finished trace file,
// the yardstick of its writing speed.
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

// One turn of `while n < k do n := (n + 1) od` takes 14 steps; the
// assignment before the loop, its exit and the end take 13 more.
constexpr std::int64_t steps_per_turn = 14;
constexpr std::int64_t steps_around = 13;

struct counting_loop {
    comtypes::grbaum tree;
    std::int64_t steps;  // of one run, the end step included
};

counting_loop counting_loop_of(std::int64_t steps) {
    const std::int64_t turns = (steps - steps_around) / steps_per_turn;
    const std::string program = "n := 0; while n < " + std::to_string(turns) + " do n := (n + 1) od";
    return {comtypes::creategb(scannerpak::scanner(program), nullptr, nullptr),
            steps_around + turns * steps_per_turn};
}

// trace_once traces the loop into the file `path`, created anew; the run
// gives back its machine records when it ends.
void trace_once(const counting_loop& loop, const std::string& path) {
    common::out_file file;
    file.create(path);
    baumwandler_package::machetrace(loop.tree, file);
    file.close();
}

// A scratch folder of this process, removed when it goes.
struct scratch_folder {
    fs::path path = fs::temp_directory_path() / ("bench-trace-" + std::to_string(::getpid()));
    scratch_folder() { fs::create_directories(path); }
    ~scratch_folder() { fs::remove_all(path); }
    scratch_folder(const scratch_folder&) = delete;
    scratch_folder& operator=(const scratch_folder&) = delete;
};

void report(benchmark::State& state, const counting_loop& loop, std::int64_t bytes) {
    const auto runs = static_cast<double>(state.iterations());
    state.SetItemsProcessed(loop.steps * state.iterations());
    state.SetBytesProcessed(bytes * state.iterations());
    state.counters["steps"] = static_cast<double>(loop.steps);
    state.counters["trace_bytes"] = static_cast<double>(bytes);
    // Seconds per step and per byte, printed with their prefix (n, p).
    state.counters["per_step"] = benchmark::Counter(
        static_cast<double>(loop.steps) * runs, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["per_byte"] = benchmark::Counter(
        static_cast<double>(bytes) * runs, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void trace_to_file(benchmark::State& state) {
    const counting_loop loop = counting_loop_of(state.range(0));
    const scratch_folder folder;
    const std::string path = (folder.path / "trace.txt").string();
    for (auto _ : state) {
        trace_once(loop, path);
    }
    const auto bytes = static_cast<std::int64_t>(fs::file_size(path));
    report(state, loop, bytes);

    // cp of the same bytes, timed here on the finished file.
    const std::string copy = "cp '" + path + "' '" + (folder.path / "copy.txt").string() + "'";
    constexpr int copies = 5;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < copies; ++i) {
        if (std::system(copy.c_str()) != 0) {
            state.SkipWithError("cp failed");
            return;
        }
    }
    const double copy_seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.counters["cp_ns_per_byte"] = copy_seconds / copies / static_cast<double>(bytes) * 1e9;
}

// The same run into /dev/null: what the trace costs apart from the file
// system. Its bytes are counted on one more run into a file.
void trace_discarded(benchmark::State& state) {
    const counting_loop loop = counting_loop_of(state.range(0));
    for (auto _ : state) {
        trace_once(loop, "/dev/null");
    }
    const scratch_folder folder;
    const std::string path = (folder.path / "trace.txt").string();
    trace_once(loop, path);
    report(state, loop, static_cast<std::int64_t>(fs::file_size(path)));
}

// The runs' lengths in steps, up to the step limit.
void step_counts(benchmark::internal::Benchmark* b) {
    b->Arg(10'000)->Arg(100'000)->Arg(baumwandler_package::step_limit)->Unit(benchmark::kMillisecond);
}
BENCHMARK(trace_to_file)->Apply(step_counts);
BENCHMARK(trace_discarded)->Apply(step_counts);

}  // namespace

BENCHMARK_MAIN();
