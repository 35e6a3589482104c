// The recursions over nesting (parser, conversion, renderers) on stacks of
// every size: as deep as the stack takes runs through, one level more is
// refused with STORAGE_ERROR, never a crash.
#include <gtest/gtest.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "common/program.hpp"
#include "frontend/comtypes.hpp"
#include "tests/support/capture.hpp"
#include "tests/support/program_run.hpp"
#include "tests/support/raised.hpp"
#include "tests/support/while_programs.hpp"
#include "tests/support/while_tree.hpp"
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

// What creategb raises for one level too many in the construct at `where`.
std::string refused_at(common::place where) {
    return test_support::report(common::storage_error_name, where);
}

const std::vector<nesting_kind> kinds = {
    {"while", refused_at(comtypes::places::while_nesting), loops, loops},
    {"if", refused_at(comtypes::places::if_nesting), ifs, ifs},
    {"parentheses", refused_at(comtypes::places::parenthesis_nesting),
     [](int depth) { return "x := 1; while x < 1 do x := " + sum(depth) + " od"; },
     [](int depth) { return "x := " + sum(depth); }},
    // Statements and parentheses, each as deep as the other: the deepest
    // recursion that the limit allows. The loops are refused first.
    {"loops around parentheses", refused_at(comtypes::places::while_nesting),
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
                        const comtypes::grbaum tree = test_support::grammar_tree(kind.program(levels - 1));
                        ASSERT_NE(tree, nullptr);
                        const auto run = test_support::into_file(
                            [&](common::text_writer& ft) { baumwandler_package::machetrace(tree, ft, 100); });
                        EXPECT_EQ(run.error, "");
                        EXPECT_NE(run.text.find("Endspeicherbelegung: {(x, 1)}"), std::string::npos);
                    }
                    EXPECT_EQ(
                        test_support::raised([&] { test_support::grammar_tree(kind.bare(levels + 1)); }),
                        kind.refusal);
                },
                stack_size);
        }
    }
}

// On velkor's main thread without /proc (here: without a descriptor to read
// it), the stack's low end is not known, and a small stack takes less than
// the parse would ask for: what fits still parses and runs, 2000 levels are
// refused, never a crash.
TEST(DeepNesting, UnknownStackBoundsRefuseWhatDoesNotFit) {
    const test_support::scratch_folder folder;
    const std::string trace_path = (folder.path() / "trace.txt").string();
    for (const nesting_kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        const auto result = test_support::run_entry([&] {
            common::out_file trace;
            trace.create(trace_path);  // before no descriptor is left
            // An error raised before then as well: the sanitizers check the
            // type of an error's parts the first time they meet it, and
            // that check needs a descriptor.
            (void)test_support::raised([] { common::check_failed(common::here()); });
            if (!test_support::set_stack_limit(256 << 10) || !test_support::leave_no_descriptor_free()) {
                return 125;
            }
            const int levels =
                common::levels_that_fit(comtypes::nesting_limit, comtypes::stack_per_nesting_level);
            if (levels > 1) {
                baumwandler_package::machetrace(test_support::grammar_tree(kind.program(levels - 1)), trace,
                                                100);
            }
            // The refusal is read once the descriptors are back, which the
            // sanitizers' checks of its type need.
            std::exception_ptr refusal;
            try {
                test_support::grammar_tree(kind.bare(2000));
            } catch (...) {
                refusal = std::current_exception();
            }
            if (!test_support::give_descriptors_back()) {
                return 126;
            }
            trace.close();
            std::printf("%s", test_support::raised([&] {
                                  if (refusal) {
                                      std::rethrow_exception(refusal);
                                  }
                              }).c_str());
            return std::fflush(stdout) == 0 ? 0 : 127;
        });
        EXPECT_EQ(result.signal, 0);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out, kind.refusal) << result.err;
        const std::string trace = test_support::read_file(trace_path);
        if (!common::address_sanitizer) {  // whose frames leave no level on so small a stack
            EXPECT_NE(trace.find("Endspeicherbelegung: {(x, 1)}"), std::string::npos);
        }
    }
}

}  // namespace
