// The recursions over nesting (parser, conversion, renderers) on stacks of
// every size: as deep as the stack takes runs through, one level more is
// refused with STORAGE_ERROR, never a crash.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/program.hpp"
#include "frontend/comtypes.hpp"
#include "support/capture.hpp"
#include "support/raised.hpp"
#include "support/while_programs.hpp"
#include "support/while_tree.hpp"
#include "trace/machetrace.hpp"

namespace {

using test_support::nested;

std::string sum(int depth) {
    return nested("", "(1 + ", "1", ")", depth);
}

struct nesting_kind {
    std::string name;
    std::string refusal;  // what creategb raises for one level too many
    // A program nested `depth` deep that runs to its end in a few steps: x
    // is 1, so no loop body and no then part runs; yet each configuration
    // shows the whole nesting.
    std::string (*program)(int depth);
    // A program nested `depth` deep in this kind alone.
    std::string (*bare)(int depth);
};

std::string loops(int depth) {
    return test_support::nested_loops("x := 1; ", depth);
}

std::string ifs(int depth) {
    return test_support::nested_ifs("x := 1; ", depth);
}

const std::vector<nesting_kind> kinds = {
    {"while", "STORAGE_ERROR : comtypes:233", loops, loops},
    {"if", "STORAGE_ERROR : comtypes:239", ifs, ifs},
    {"parentheses", "STORAGE_ERROR : comtypes:255",
     [](int depth) { return "x := 1; while x < 1 do x := " + sum(depth) + " od"; },
     [](int depth) { return "x := " + sum(depth); }},
    // Statements and parentheses, each as deep as the other: the deepest
    // recursion that the limit allows. The loops are refused first.
    {"loops around parentheses", "STORAGE_ERROR : comtypes:233",
     [](int depth) { return nested("x := 1; ", "while x < 1 do ", "x := " + sum(depth), " od", depth); },
     [](int depth) { return nested("", "while x < 1 do ", "x := " + sum(depth), " od", depth); }},
};

TEST(DeepNesting, AsDeepAsTheStackTakesRunsAndOneLevelMoreIsRefused) {
    // From the smallest stack that a program asks for to the large one.
    for (const std::size_t stack_size :
         {std::size_t{256} << 10, std::size_t{2} << 20, std::size_t{8} << 20, common::main_stack_size}) {
        for (const nesting_kind& kind : kinds) {
            SCOPED_TRACE(kind.name + " on " + std::to_string(stack_size >> 10) + " KiB");
            common::run_on_large_stack(
                [&] {
                    // creategb asks the same from a few frames further down:
                    // its limit is this or one less.
                    const int levels =
                        common::levels_that_fit(comtypes::nesting_limit, comtypes::stack_per_nesting_level);
                    if (levels > 1) {
                        const comtypes::grbaum tree = test_support::baum(kind.program(levels - 1));
                        ASSERT_NE(tree, nullptr);
                        const auto run = test_support::into_file(
                            [&](common::text_writer& ft) { baumwandler_package::machetrace(tree, ft, 100); });
                        EXPECT_EQ(run.error, "");
                        EXPECT_NE(run.text.find("Endspeicherbelegung: {(x, 1)}"), std::string::npos);
                    }
                    EXPECT_EQ(test_support::raised([&] { test_support::baum(kind.bare(levels + 1)); }),
                              kind.refusal);
                },
                stack_size);
        }
    }
}

}  // namespace
