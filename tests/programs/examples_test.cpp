// The While programs of examples/ run through velkor as a student runs them,
// from their file: each runs to its end, and its final store is the one
// worked out by hand in the table below (the README lists the same);
// together their traces show every rule a program can reach.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/program_run.hpp"

namespace {

namespace fs = std::filesystem;
using test_support::read_file;

struct example {
    std::string file;   // in examples/
    std::string store;  // the final store, as the line after "Endspeicherbelegung: "
};

// The entries stand in the order of the start environment: the names in the
// reverse order of their first occurrence, an assignment's target counting
// after its right side.
const std::vector<example> examples = {
    // x counts down from 3 while y doubles three times.
    {"zweier.txt", "{(y, 8)(x, 0)}"},
    // f = 1 * 1 * 2 * 3 * 4 * 5; i stops one past n.
    {"fakultaet.txt", "{(f, 120)(i, 6)(n, 5)}"},
    // (84, 36) -> (48, 36) -> (12, 36) -> (12, 24) -> (12, 12).
    {"ggt.txt", "{(b, 12)(a, 12)}"},
    // 47 = 9 * 5 + 2, by subtraction (q, r) and by div and mod (d, m).
    {"division.txt", "{(m, 2)(d, 9)(r, 2)(q, 9)(b, 5)(a, 47)}"},
    // Three pairs with i = j; the six others sum their products:
    // (1 + 2 + 3)^2 - (1 + 4 + 9) = 22. Both loops stop one past 3.
    {"paare.txt", "{(j, 4)(s, 22)(n, 3)(i, 4)}"},
    // 6 -> 3 -> 10 -> 5 -> 16 -> 8 -> 4 -> 2 -> 1: eight steps.
    {"collatz.txt", "{(s, 8)(n, 1)}"},
    // m starts as a = 4; b = -3 < 4 takes the then part, c = 9 < -3 fails and
    // the else part is skip. A negative value stands without a blank.
    {"minimum.txt", "{(m,-3)(c, 9)(b,-3)(a, 4)}"},
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

class Example : public testing::TestWithParam<example> {};

// The trace file ends as the screen run does.
TEST_P(Example, RunsToItsEndWithTheStoreWorkedOutByHand) {
    const example& e = GetParam();
    const auto [result, trace] = run_example(e);
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
