// The tree printer: a drawing costs time in proportion to the characters it
// writes; a list of n statements writes about n squared of them, since each
// further statement stands three columns further right.
#include <benchmark/benchmark.h>

#include <string>

#include "common/program.hpp"
#include "common/textio.hpp"
#include "driver/printpak.hpp"
#include "frontend/comtypes.hpp"
#include "frontend/scannerpak.hpp"

namespace {

comtypes::grbaum parsed(const std::string& program) {
    comtypes::grbaum tree = nullptr;
    common::run_on_large_stack(
        [&] { tree = comtypes::creategb(scannerpak::scanner(program), nullptr, nullptr); });
    return tree;
}

void draw(benchmark::State& state, const comtypes::grbaum tree) {
    common::out_file sink;
    sink.create("/dev/null");
    for (auto _ : state) {
        printpak::printgb(tree, sink, true);
    }
    sink.close();
}

void printgb_statement_list(benchmark::State& state) {
    std::string program = "x := (y + 1)";
    for (int i = 1; i < state.range(0); ++i) {
        program += "; x := (y + 1)";
    }
    draw(state, parsed(program));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(printgb_statement_list)->RangeMultiplier(4)->Range(16, 1024)->Complexity(benchmark::oNSquared);

void printgb_nested_loops(benchmark::State& state) {
    std::string program;
    for (int i = 0; i < state.range(0); ++i) {
        program += "while x < 0 do ";
    }
    program += "skip";
    for (int i = 0; i < state.range(0); ++i) {
        program += " od";
    }
    draw(state, parsed(program));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(printgb_nested_loops)->RangeMultiplier(4)->Range(16, 1024)->Complexity(benchmark::oNSquared);

}  // namespace

BENCHMARK_MAIN();
