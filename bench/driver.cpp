// The tree printer: a drawing costs time in proportion to the characters it
// writes, and memory in proportion to the program. A list of n statements
// writes about n squared characters, since each further statement stands
// three columns further right; nesting does the same with its depth.
//
// Each benchmark reports the bytes drawn per second (flat across the sizes
// when the time per byte is), and per drawing the peak of heap memory above
// its start (`memory_B`; the drawing takes nothing from the arena, which a
// test checks), beside the size of the program (`statements` or `depth`):
// one block of a mebibyte for the output, and beyond it memory in step with
// the program. The plain reference drawing of the tests, recursive and with
// the linked bar list, is there for comparison.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstddef>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/arena.hpp"
#include "common/program.hpp"
#include "common/textio.hpp"
#include "driver/printpak.hpp"
#include "frontend/comtypes.hpp"
#include "frontend/scannerpak.hpp"
#include "tests/support/reference_printpak.hpp"

namespace {

// Heap bytes in use and their peak, kept by the global operator new and
// delete below.
std::size_t heap_live = 0;
std::size_t heap_peak = 0;

void* counted(void* block) {
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    heap_live += malloc_usable_size(block);
    if (heap_live > heap_peak) {
        heap_peak = heap_live;
    }
    return block;
}

void uncounted(void* block) noexcept {
    if (block != nullptr) {
        heap_live -= malloc_usable_size(block);
        std::free(block);
    }
}

}  // namespace

void* operator new(std::size_t size) {
    return counted(std::malloc(size == 0 ? 1 : size));
}
void* operator new[](std::size_t size) {
    return counted(std::malloc(size == 0 ? 1 : size));
}
void operator delete(void* block) noexcept {
    uncounted(block);
}
void operator delete[](void* block) noexcept {
    uncounted(block);
}
void operator delete(void* block, std::size_t) noexcept {
    uncounted(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    uncounted(block);
}

namespace {

using comtypes::alphabet;
using comtypes::grbaum;

grbaum parsed(const std::string& program) {
    grbaum tree = nullptr;
    common::run_on_large_stack(
        [&] { tree = comtypes::creategb(scannerpak::scanner(program), nullptr, nullptr); });
    return tree;
}

// The label a node line ends in.
std::size_t label_size(grbaum x) {
    switch (x->al) {
        case alphabet::ANWF:
            return 4;  // AnwF
        case alphabet::ANW:
            return 3;
        case alphabet::LEEREANWEISUNG:
            return 14;
        case alphabet::ZUWEISUNG:
            return 9;
        case alphabet::BEDINGTEANWEISUNG:
            return 17;
        case alphabet::SCHLEIFE:
            return 8;
        case alphabet::AUSDRUCK:
            return 8;
        case alphabet::BEDINGUNG:
            return 9;
        case alphabet::NAMET:
        case alphabet::ZAHLT:
            return 5;  // NameT, ZahlT
        case alphabet::ROPT:
            return 4;  // ropT
        case alphabet::OPT:
            return 3;
        default:
            return x->exp().size();
    }
}

// The bytes of the drawing of a parsed tree, counted from its layout: a bar
// line and a node line for every node below the root, two more lines for the
// token text of a class-named terminal.
double drawn_bytes(grbaum root) {
    std::size_t bytes = std::string_view("\nProgramm\n").size() + 3;
    std::vector<std::pair<grbaum, std::size_t>> lists = {{root->knoten(), 0}};
    while (!lists.empty()) {
        auto [x, prefix] = lists.back();
        lists.pop_back();
        for (; x != nullptr; x = x->rest) {
            bytes += (prefix + 4) + (prefix + 6 + label_size(x));
            const std::size_t below = prefix + 3;
            const bool class_named = x->al == alphabet::NAMET || x->al == alphabet::ZAHLT ||
                                     x->al == alphabet::ROPT || x->al == alphabet::OPT;
            if (class_named) {
                bytes += (below + 4) + (below + 6 + x->exp().size());
            } else if (comtypes::isnonterminal(x)) {
                lists.emplace_back(x->knoten(), below);
            }
        }
    }
    return static_cast<double>(bytes);
}

template <class Draw>
void draw(benchmark::State& state, const std::string& program, const char* size_name, Draw drawing) {
    const grbaum tree = parsed(program);
    common::out_file sink;
    sink.create("/dev/null");
    const std::size_t heap_before = heap_live;
    heap_peak = heap_live;
    for (auto _ : state) {
        drawing(tree, sink);
    }
    sink.close();
    const auto drawings = static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<std::int64_t>(drawn_bytes(tree) * drawings));
    state.counters["memory_B"] = static_cast<double>(heap_peak - heap_before);
    state.counters[size_name] = static_cast<double>(state.range(0));
}

void fast(grbaum tree, common::text_writer& sink) {
    printpak::printgb(tree, sink, true);
}

// The plain reference drawing, recursive, with the linked bar list: each
// drawing leaves its cells in the arena.
void plain(grbaum tree, common::text_writer& sink) {
    common::run_on_large_stack([&] { test_support::reference_printpak::printgb(tree, sink, true); });
}

// `x := y` and n - 1 more, the statement list of the whole-process workload.
std::string statement_list(std::int64_t n) {
    std::string program = "x := y";
    for (std::int64_t i = 1; i < n; ++i) {
        program += "; x := y";
    }
    return program;
}

// `depth` times `opening`, then `middle`, then `depth` times `closing`.
std::string nested(std::int64_t depth, std::string_view opening, std::string_view middle,
                   std::string_view closing) {
    std::string program;
    for (std::int64_t i = 0; i < depth; ++i) {
        program += opening;
    }
    program += middle;
    for (std::int64_t i = 0; i < depth; ++i) {
        program += closing;
    }
    return program;
}

// The sizes of every drawing: from a hundred to ten thousand statements or
// levels of nesting. The drawn bytes grow with the square of the size (about
// 2.8 GB at ten thousand statements), which bounds the largest.
void sizes(benchmark::internal::Benchmark* b) {
    for (const int n : {100, 1'000, 3'000, 10'000}) {
        b->Arg(n);
    }
    b->Unit(benchmark::kMillisecond);
}

void printgb_statement_list(benchmark::State& state) {
    draw(state, statement_list(state.range(0)), "statements", fast);
}
BENCHMARK(printgb_statement_list)->Apply(sizes);

void printgb_nested_loops(benchmark::State& state) {
    draw(state, nested(state.range(0), "while x < 0 do ", "skip", " od"), "depth", fast);
}
BENCHMARK(printgb_nested_loops)->Apply(sizes);

void printgb_nested_ifs(benchmark::State& state) {
    // Each inside the else branch of the one around it, a list in every then branch.
    draw(state, nested(state.range(0), "if x = 1 then skip; y := 2 else ", "skip", " fi"), "depth", fast);
}
BENCHMARK(printgb_nested_ifs)->Apply(sizes);

void printgb_nested_parentheses(benchmark::State& state) {
    draw(state, "x := " + nested(state.range(0), "(", "y", " + 1)"), "depth", fast);
}
BENCHMARK(printgb_nested_parentheses)->Apply(sizes);

// Few drawings: the arena keeps every cell of every one.
void plain_statement_list(benchmark::State& state) {
    draw(state, statement_list(state.range(0)), "statements", plain);
}
BENCHMARK(plain_statement_list)->Arg(100)->Arg(1'000)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
