// The equivalence test over the pairs of states reached together.
#include "automata/aq.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "dea/build_dea.hpp"
#include "tests/support/raised.hpp"

namespace {

using dea::int32;
using dea::transition;
using dea_type = dea::dea_type<'!', '~'>;

struct automaton_plan {
    int32 n;
    std::vector<transition> moves;
    std::vector<int32> finals;

    [[nodiscard]] dea_type build() const { return dea::build_dea<dea_type>(n, moves, finals); }
};

struct aq_case {
    const char* name;
    automaton_plan first;
    automaton_plan second;
    bool equal;
};

// The first two automata of the worked example: both accept a b* a | b.
const automaton_plan worked_first{3, {{0, "a", 1}, {0, "b", 2}, {1, "a", 2}, {1, "b", 1}}, {2}};
const automaton_plan worked_second{
    4, {{0, "a", 1}, {0, "b", 3}, {1, "a", 3}, {1, "b", 2}, {2, "a", 3}, {2, "b", 2}}, {3}};
// With its back move 1 -b-> 0 it also accepts "abb", and "aaa" as well.
const automaton_plan with_back_move{
    4, {{0, "a", 1}, {0, "b", 3}, {1, "a", 2}, {1, "b", 0}, {2, "a", 3}, {2, "b", 2}}, {3}};

void PrintTo(const aq_case& c, std::ostream* os) {
    *os << c.name;
}

class Equivalence : public testing::TestWithParam<aq_case> {};

TEST_P(Equivalence, JudgesBothOrders) {
    const aq_case& c = GetParam();
    const dea_type first = c.first.build();
    const dea_type second = c.second.build();
    EXPECT_EQ(halvik::aq(first, second), c.equal);
    EXPECT_EQ(halvik::aq(second, first), c.equal);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Equivalence,
    testing::Values(
        aq_case{"WorkedExample", worked_first, worked_second, true},
        aq_case{"SameAutomaton", with_back_move, with_back_move, true},
        aq_case{"DifferentLanguage", worked_first, with_back_move, false},
        // Finality of the start pair alone: the empty word.
        aq_case{"OnlyTheEmptyWordDiffers", {2, {{0, "a", 1}}, {1}}, {2, {{0, "a", 1}}, {0, 1}}, false},
        aq_case{"StartPairReachedAgain", {2, {{0, "a", 0}}, {}}, {2, {{0, "a", 0}}, {0}}, false},
        // No pair beyond the start: both fall into their traps on every character.
        aq_case{"BothTrapAtOnce", {1, {}, {}}, {3, {}, {}}, true},
        aq_case{"BothTrapAtOnceStartFinalInOne", {1, {}, {0}}, {3, {}, {}}, false},
        // State 2 of the first is final but never reached together with anything.
        aq_case{"UnreachedFinalStatesDoNotCount", {3, {{0, "a", 1}}, {1, 2}}, {2, {{0, "a", 1}}, {1}}, true},
        // (1, trap) is reached: one trap in a pair is a difference, finals or not.
        aq_case{"ExactlyOneTrap", {2, {{0, "a", 1}}, {}}, {2, {}, {}}, false},
        // The last column character is followed as well.
        aq_case{"LastColumn", {2, {{0, "~", 1}}, {1}}, {2, {{0, "!", 1}}, {1}}, false}),
    [](const testing::TestParamInfo<aq_case>& info) { return std::string(info.param.name); });

TEST(Equivalence, SuccessorOutsideTheStatesRaisesTheCheckError) {
    dea_type first = worked_first.build();
    const dea_type second = worked_second.build();
    first.det.cell(1, 'b') = 9;
    const std::string error = test_support::raised([&] { halvik::aq(first, second); });
    EXPECT_TRUE(error.starts_with(test_support::report_in(common::check_error_name, "aq"))) << error;
}

}  // namespace
