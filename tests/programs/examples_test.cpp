// The While programs of examples/ run through velkor as a student runs them,
// from their file: each runs to its end, and its final store and its number
// of rule steps are the ones worked out by hand in the table below, which
// the README's table of examples repeats; together their traces show every
// rule a program can reach.
#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/markdown.hpp"
#include "tests/support/program_run.hpp"

namespace {

namespace fs = std::filesystem;
using test_support::read_file;

struct example {
    std::string file;   // in examples/
    std::string store;  // the final store, as the line after "Endspeicherbelegung: "
    int steps;          // the rule lines before "-- (Ende der Auswertung)--"
};

// The entries stand in the order of the start environment: the names in the
// reverse order of their first occurrence, an assignment's target counting
// after its right side.
//
// The steps are counted as the README counts zweier's: a statement list
// that runs to its end takes one step (11) per statement and one (11') after
// the last; an expression with k operators 3k + 1 (a number or a name 1,
// each operation 3 and 4 more); an assignment 9, its expression and 10; a
// comparison 6, its two expressions and 7; skip 8. An if takes 12, its
// condition, 13 or 14 and its branch's list; a loop turn 15, its condition,
// 16 and its body's list; its exit 15, the condition and 17.
const std::vector<example> examples = {
    // x counts down from 3 while y doubles three times.
    // 4 (list of 3) + 3 + 3; a turn is 6 (15, x > 0: 4, 16) + 15 (list of 2:
    // 3, y := (y * 2): 6, x := (x - 1): 6): 3 turns 63; exit 6. 79.
    {"zweier.txt", "{(y, 8)(x, 0)}", 79},
    // f = 1 * 1 * 2 * 3 * 4 * 5; i stops one past n.
    // 5 (list of 4) + 3 * 3; a turn is 6 + 3 + 6 + 6 = 21, for i = 1 to 5:
    // 105; exit 6. 125.
    {"fakultaet.txt", "{(f, 120)(i, 6)(n, 5)}", 125},
    // (84, 36) -> (48, 36) -> (12, 36) -> (12, 24) -> (12, 12).
    // 4 (list of 3) + 3 + 3; a turn is 6 + 2 (list of 1) + 14 (the if: 12,
    // a > b: 4, 13 or 14, list of 1: 2, an assignment with one operator: 6)
    // = 22, four turns 88; exit 6. 104.
    {"ggt.txt", "{(b, 12)(a, 12)}", 104},
    // 47 = 9 * 5 + 2, by subtraction (q, r) and by div and mod (d, m).
    // 8 (list of 7) + 4 * 3; a turn is 6 + 3 + 6 + 6 = 21, for r = 47, 42,
    // ..., 7: 9 turns 189; exit 6; d and m 6 each. 227.
    {"division.txt", "{(m, 2)(d, 9)(r, 2)(q, 9)(b, 5)(a, 47)}", 227},
    // Three pairs with i = j; the six others sum their products:
    // (1 + 2 + 3)^2 - (1 + 4 + 9) = 22. Both loops stop one past 3.
    // 5 (list of 4) + 3 * 3. An inner turn is 6 + 3 (list of 2) + the if
    // (12, i = j: 4, 13 or 14, list of 1: 2, and n := (n + 1): 6 or
    // s := (s + (i * j)): 9) + j := (j + 1): 6, so 29 when i = j and 32 when
    // not; the inner loop 29 + 2 * 32 + exit 6 = 99. An outer turn is 6 + 4
    // (list of 3) + j := 1: 3 + 99 + i := (i + 1): 6 = 118, three 354; exit
    // 6. 374.
    {"paare.txt", "{(j, 4)(s, 22)(n, 3)(i, 4)}", 374},
    // 6 -> 3 -> 10 -> 5 -> 16 -> 8 -> 4 -> 2 -> 1: eight steps.
    // 4 (list of 3) + 3 + 3. A turn is 6 + 3 (list of 2) + the if (12,
    // (n mod 2) = 0: 7, 13 or 14, list of 1: 2, and n := (n div 2): 6 or
    // n := ((3 * n) + 1): 9) + s := (s + 1): 6, so 32 for an even n and 35
    // for an odd one: six even, two odd, 262; exit 6. 278.
    {"collatz.txt", "{(s, 8)(n, 1)}", 278},
    // m starts as a = 4; b = -3 < 4 takes the then part, c = 9 < -3 fails and
    // the else part is skip. A negative value stands without a blank.
    // 7 (list of 6) + a := 4: 3 + b := (0 - 3): 6 + c := 9: 3 + m := a: 3;
    // the first if 12, b < m: 4, 13, list of 1: 2, m := b: 3, so 11; the
    // second 12, 4, 14, 2, skip: 1, so 9. 42.
    {"minimum.txt", "{(m,-3)(c, 9)(b,-3)(a, 4)}", 42},
};

void PrintTo(const example& e, std::ostream* os) {
    *os << e.file;
}

fs::path examples_folder() {
    return test_support::data_path("../examples");
}

// The trace and tree files that a run of an example in its folder leaves
// beside it are no examples.
bool written_by_velkor(const fs::path& file) {
    const std::string stem = file.stem().string();
    return stem.ends_with("_Trace") || stem.ends_with("_Baum");
}

TEST(Examples, EveryFileOfTheFolderIsChecked) {
    std::set<std::string> present;
    for (const auto& entry : fs::directory_iterator(examples_folder())) {
        if (!written_by_velkor(entry.path())) {
            present.insert(entry.path().filename().string());
        }
    }
    std::set<std::string> checked;
    for (const example& e : examples) {
        checked.insert(e.file);
    }
    EXPECT_EQ(present, checked);
}

struct example_run {
    test_support::program_result result;
    std::string trace;
};

// In file mode the trace goes beside the program file, under the name with
// "_Trace".
example_run run_example(const example& e) {
    const test_support::scratch_folder work;
    test_support::write_file(work.path() / e.file, read_file(examples_folder() / e.file));
    auto result = test_support::run_program("velkor", "d\n" + e.file + "\nn\n", work.path());
    return {std::move(result), read_file(work.path() / (fs::path(e.file).stem().string() + "_Trace.txt"))};
}

// Together the examples show every line a step can write, except rule 5's:
// no program reaches it, since true and false are names.
TEST(Examples, TheirTracesShowEveryReachableRule) {
    const std::set<std::string> reachable = {
        "-- (1 : Zahl lesen) --",
        "-- (2 : Variable lesen, Wert aus Umgebung)--",
        "-- (3 : Verknuepfung aufloesen)--",
        "-- (4 : Arithmetische Operation)--",
        "-- (6 : Bedingung aufloesen)--",
        "-- (7 : Vergleichsoperation)--",
        "-- (8 : Skipanweisung)--",
        "-- (9 : Zuweisung aufloesen)--",
        "-- (10 : Zuweisung ausfuehren)--",
        "-- (11 : nichtleere Anweisungsfolge aufloesen)--",
        "-- (11' : leere Anweisungsfolge aufloesen)--",
        "-- (12 : If-Anweisung aufloesen)--",
        "-- (13 : If-Anweisung True-Fall)--",
        "-- (14 : If-Anweisung False-Fall)--",
        "-- (15 : Schleife aufloesen)--",
        "-- (16 : Schleifenbedingung True)--",
        "-- (17 : Schleifenbedingung False)--",
        "-- (Ende der Auswertung)--",
    };
    std::set<std::string> shown;
    for (const example& e : examples) {
        std::istringstream trace(run_example(e).trace);
        for (std::string line; std::getline(trace, line);) {
            if (line.starts_with("-- (")) {
                shown.insert(line);
            }
        }
    }
    EXPECT_EQ(shown, reachable);
}

// "minimum.txt is the one that runs skip (rule 8)", the README says.
TEST(Examples, OnlyMinimumRunsSkip) {
    std::set<std::string> skipping;
    for (const example& e : examples) {
        if (run_example(e).trace.find("\n-- (8 : Skipanweisung)--\n") != std::string::npos) {
            skipping.insert(e.file);
        }
    }
    EXPECT_EQ(skipping, std::set<std::string>{"minimum.txt"});
}

// The README's table of the examples is the table above: each file with
// its steps and its final store, in the same order.
TEST(Examples, ReadmeTableIsTheHandTable) {
    const test_support::document readme = test_support::read_document("README.md");
    const test_support::table table =
        test_support::table_with_header(readme, {"file", "what it computes", "steps", "final store"});
    ASSERT_EQ(table.rows.size(), examples.size()) << readme.place(table.line);
    for (std::size_t i = 0; i < examples.size(); ++i) {
        const test_support::table_row& row = table.rows[i];
        const example& e = examples[i];
        EXPECT_EQ(row.cells.at(0), "[`" + e.file + "`](examples/" + e.file + ")") << readme.place(row.line);
        EXPECT_EQ(row.cells.at(2), std::to_string(e.steps)) << readme.place(row.line);
        EXPECT_EQ(row.cells.at(3), "`Endspeicherbelegung: " + e.store + "`") << readme.place(row.line);
    }
}

class Example : public testing::TestWithParam<example> {};

// The rule lines of a trace before its end line.
int rule_steps(const std::string& trace) {
    std::istringstream lines(trace);
    int steps = 0;
    for (std::string line; std::getline(lines, line) && line != "-- (Ende der Auswertung)--";) {
        steps += line.starts_with("-- (") ? 1 : 0;
    }
    return steps;
}

// The trace file ends as the screen run does.
TEST_P(Example, RunsToItsEndWithTheStoreWorkedOutByHand) {
    const example& e = GetParam();
    const auto [result, trace] = run_example(e);
    EXPECT_EQ(rule_steps(trace), e.steps);
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    const std::string end = "-- (Ende der Auswertung)--\nEndspeicherbelegung: " + e.store + "\n";
    EXPECT_NE(result.out.find(end + "\n\nMoechten Sie ein weiteres Programm eingeben? (j/n)\n"),
              std::string::npos)
        << result.out.substr(0, 2000);
    ASSERT_GE(trace.size(), end.size());
    EXPECT_EQ(trace.substr(trace.size() - end.size()), end);
}

std::string test_name(const testing::TestParamInfo<example>& info) {
    return fs::path(info.param.file).stem().string();
}

INSTANTIATE_TEST_SUITE_P(Examples, Example, testing::ValuesIn(examples), test_name);

}  // namespace
