// The automaton record and the word test: its verdict lines, and the check
// error for characters and states outside the table.
#include "automata/pruefe.hpp"

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/errors.hpp"
#include "dea/build_dea.hpp"
#include "tests/support/capture.hpp"
#include "tests/support/raised.hpp"

namespace {

using dea::int32;
using dea::transition;
using test_support::into_file;
using with_blank = dea::dea_type<' ', '~'>;
using without_blank = dea::dea_type<'!', '~'>;
namespace pruefe_places = automata::pruefe_places;

// The check errors of the word test: at a step of the run, at the verdict.
const std::string step_error = test_support::report(common::check_error_name, pruefe_places::step);
const std::string verdict_error = test_support::report(common::check_error_name, pruefe_places::verdict);

TEST(Places, TheWordTestsReportsNameTheirFixedLines) {
    EXPECT_EQ(pruefe_places::step.text(), "pruefe:24");
    EXPECT_EQ(pruefe_places::verdict.text(), "pruefe:29");
}

// Accepts "ab" alone over the states 0 .. 3, 3 being the trap.
template <char First>
dea::dea_type<First, '~'> only_ab(std::vector<int32> finals = {2}) {
    constexpr std::array<transition, 2> moves{{{0, "a", 1}, {1, "b", 2}}};
    return dea::build_dea<dea::dea_type<First, '~'>>(3, moves, finals);
}

struct verdict_case {
    std::vector<int32> finals;
    std::string_view word;
    std::string_view expected;
};

void PrintTo(const verdict_case& c, std::ostream* os) {
    *os << '"' << c.word << '"';
}

class WordTest : public testing::TestWithParam<verdict_case> {};

TEST_P(WordTest, WritesTheVerdictAndOneEmptyLine) {
    const verdict_case& c = GetParam();
    const with_blank automaton = only_ab<' '>(c.finals);
    const auto result =
        into_file([&](common::text_writer& out) { automata::pruefe(automaton, c.word, out); });
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.text, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Verdicts, WordTest,
    testing::Values(verdict_case{{2}, "ab", "\"ab\" gehoert zum Sprachschatz\n\n"},
                    verdict_case{{2}, "a", "\"a\" gehoert nicht zum Sprachschatz\n\n"},
                    verdict_case{{2}, "", "\"\" gehoert nicht zum Sprachschatz\n\n"},
                    verdict_case{{0, 2}, "", "\"\" gehoert zum Sprachschatz\n\n"},
                    // The run stays in the trap: rejected unless the trap is final.
                    verdict_case{{2}, "bab", "\"bab\" gehoert nicht zum Sprachschatz\n\n"},
                    verdict_case{{2, 3}, "bab", "\"bab\" gehoert zum Sprachschatz\n\n"},
                    // With a blank column the blank is an ordinary character.
                    verdict_case{{2}, "ab ", "\"ab \" gehoert nicht zum Sprachschatz\n\n"}));

TEST(WordTest, ConsecutiveVerdictsAreSeparatedByOneEmptyLine) {
    const with_blank automaton = only_ab<' '>();
    const auto result = into_file([&](common::text_writer& out) {
        automata::pruefe(automaton, "ab", out);
        automata::pruefe(automaton, "a", out);
    });
    EXPECT_EQ(result.text, "\"ab\" gehoert zum Sprachschatz\n\n\"a\" gehoert nicht zum Sprachschatz\n\n");
}

TEST(WordTest, CharacterOutsideTheColumnsFailsBeforeAnythingIsWritten) {
    const without_blank automaton = only_ab<'!'>();
    // The blank comes after the run has entered the trap: every character is read.
    for (const std::string_view word : {"ab ", "ba b", "a\x7f", "\t"}) {
        const auto result =
            into_file([&](common::text_writer& out) { automata::pruefe(automaton, word, out); });
        EXPECT_EQ(result.text, "") << word;
        EXPECT_EQ(result.error, step_error) << word;
    }
}

TEST(WordTest, SuccessorOutsideTheStatesFailsAtItsNextUse) {
    with_blank automaton = only_ab<' '>();
    automaton.det.cell(0, 'a') = 7;
    // Used as a row: before the verdict.
    auto result = into_file([&](common::text_writer& out) { automata::pruefe(automaton, "ab", out); });
    EXPECT_EQ(result.text, "");
    EXPECT_EQ(result.error, step_error);
    // Reached last: the final-state lookup fails after the first part of the verdict.
    result = into_file([&](common::text_writer& out) { automata::pruefe(automaton, "a", out); });
    EXPECT_EQ(result.text, "\"a\" gehoert");
    EXPECT_EQ(result.error, verdict_error);
}

// An automaton owns the cells of its final states; moving it, as a growing
// vector does, keeps them with it, and a copy has its own.
TEST(DeaType, MovedAutomataKeepTheirFinalStatesAndCopiesHaveTheirOwn) {
    std::vector<with_blank> automata;
    for (int32 last = 1; last <= 40; ++last) {
        automata.push_back(only_ab<' '>({last % 3}));
    }
    for (int32 k = 0; k < 40; ++k) {
        const with_blank& automaton = automata[static_cast<std::size_t>(k)];
        for (int32 s = 0; s <= automaton.n(); ++s) {
            EXPECT_EQ(automaton.f.contains(s, common::here()), s == (k + 1) % 3) << k << ' ' << s;
        }
    }
    with_blank moved = std::move(automata.front());
    EXPECT_TRUE(moved.f.contains(1, common::here()));
    const auto result = into_file([&](common::text_writer& out) { automata::pruefe(moved, "a", out); });
    EXPECT_EQ(result.text, "\"a\" gehoert zum Sprachschatz\n\n");

    with_blank copy = moved;
    copy.f.set(1, false, common::here());
    copy.det.cell(0, 'a') = 2;
    EXPECT_TRUE(moved.f.contains(1, common::here()));
    EXPECT_EQ(moved.det.cell(0, 'a'), 1);
    moved = copy;
    EXPECT_FALSE(moved.f.contains(1, common::here()));
    copy.f.set(1, true, common::here());
    EXPECT_FALSE(moved.f.contains(1, common::here()));
}

}  // namespace
