// The automaton record and its building from listed moves: every cell that
// no move names leads to the trap, the highest state, and every state or
// character outside the table is refused before it is used.
#include "dea/build_dea.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/errors.hpp"
#include "dea/dea.hpp"
#include "tests/support/raised.hpp"

namespace {

using dea::int32;
using dea::transition;
using letters = dea::dea_type<'a', 'c'>;

const std::vector<transition> a_then_bs = {{0, "a", 1}, {1, "b", 1}, {1, "bc", 2}};

TEST(BuildDea, UnnamedCellsLeadToTheTrapAndLaterMovesWin) {
    const auto automaton = dea::build_dea<letters>(3, a_then_bs, std::vector<int32>{1, 2});
    EXPECT_EQ(automaton.n(), 3);
    EXPECT_EQ(automaton.f.n, 3);
    // Row by row, columns a, b, c; the trap 3 leads to itself.
    const std::vector<std::string> rows = {"133", "322", "333", "333"};
    for (int32 s = 0; s <= 3; ++s) {
        for (const char c : std::string("abc")) {
            EXPECT_EQ(automaton.det.at(s, c, common::here()),
                      rows[static_cast<std::size_t>(s)][static_cast<std::size_t>(c - 'a')] - '0')
                << s << ' ' << c;
        }
    }
    for (int32 s = 0; s <= 3; ++s) {
        EXPECT_EQ(automaton.f.contains(s, common::here()), s == 1 || s == 2) << s;
    }
}

TEST(BuildDea, StatesAndCharactersOutsideTheTableAreCheckErrors) {
    const std::vector<int32> none;
    const std::string error = test_support::report_in(common::check_error_name, "build_dea");
    const std::vector<std::vector<transition>> refused = {
        {{4, "a", 0}},   // from a state beyond the trap
        {{-1, "a", 0}},  // from a negative state
        {{0, "d", 1}},   // on a character beyond the columns
        {{0, "`", 1}},   // on one before them
    };
    for (const std::vector<transition>& moves : refused) {
        EXPECT_TRUE(
            test_support::raised([&] { (void)dea::build_dea<letters>(3, moves, none); }).starts_with(error))
            << moves.front().from << ' ' << moves.front().on;
    }
    for (const int32 final_state : {4, -1}) {
        EXPECT_TRUE(test_support::raised([&] {
                        (void)dea::build_dea<letters>(3, a_then_bs, std::vector<int32>{final_state});
                    }).starts_with(error))
            << final_state;
    }
}

// The table's guards name the caller's place; the cell itself is unguarded.
TEST(DeaType, LookupsOutsideTheTableRaiseTheCheckErrorAtTheCallersPlace) {
    letters automaton(2);
    const common::place where{"caller", 7};
    EXPECT_EQ(test_support::raised([&] { (void)automaton.det.at(3, 'a', where); }), "CHECK_ERROR : caller:7");
    EXPECT_EQ(test_support::raised([&] { (void)automaton.det.at(0, 'd', where); }), "CHECK_ERROR : caller:7");
    EXPECT_EQ(test_support::raised([&] { (void)automaton.f.contains(3, where); }), "CHECK_ERROR : caller:7");
    EXPECT_EQ(test_support::raised([&] { automaton.f.set(-1, true, where); }), "CHECK_ERROR : caller:7");
    EXPECT_EQ(automaton.det.cell(2, 'c'), 2);
}

}  // namespace
