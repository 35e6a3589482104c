// State sets with their two named errors, and the epsilon hull.
#include "automata/zustandsmenge.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "tests/support/capture.hpp"
#include "tests/support/raised.hpp"

namespace {

using namespace zorbel;
using test_support::into_file;
using test_support::raised;

constexpr char eps = ndet_ueber_type::epsilon;

zustandsmenge set_of(int32 n, const std::vector<int32>& members) {
    zustandsmenge z = leeremenge(n);
    for (const int32 s : members) {
        hinzu(s, z);
    }
    return z;
}

std::string image_of(zustandsmenge z) {
    return into_file([&](common::text_writer& out) { drucke(z, out); }).text;
}

bool is_check_error(const std::string& error) {
    return error.starts_with(test_support::report_in(common::check_error_name, "zustandsmenge"));
}

// The two named errors at the places of zorbel's main procedure that they
// name, which the module keeps to itself.
const std::string index_too_large = test_support::report(index_zu_gross, {"zorbel", 154});
const std::string union_of_different_grounds = test_support::report(grundmengen_verschieden, {"zorbel", 173});
const std::string equality_of_different_grounds =
    test_support::report(grundmengen_verschieden, {"zorbel", 197});

TEST(Zustandsmenge, TheNamedErrorsHaveTheirFullNames) {
    EXPECT_EQ(index_zu_gross, "ZORBEL.INDEX_ZU_GROSS");
    EXPECT_EQ(grundmengen_verschieden, "ZORBEL.GRUNDMENGEN_VERSCHIEDEN");
}

TEST(Zustandsmenge, PrintsMembersAsImagesSeparatedByCommas) {
    EXPECT_EQ(image_of(leeremenge(3)), "{}\n");
    EXPECT_EQ(image_of(set_of(3, {0})), "{ 0}\n");
    EXPECT_EQ(image_of(set_of(3, {3})), "{ 3}\n");
    EXPECT_EQ(image_of(set_of(3, {3, 1, 0})), "{ 0, 1, 3}\n");
    EXPECT_EQ(image_of(set_of(12, {10, 2})), "{ 2, 10}\n");
}

TEST(Zustandsmenge, IstleerLooksAtEveryState) {
    EXPECT_TRUE(istleer(leeremenge(1)));
    EXPECT_FALSE(istleer(set_of(4, {4})));
    EXPECT_FALSE(istleer(set_of(4, {0})));
}

TEST(Zustandsmenge, HinzuChangesTheSetItselfAndReturnsIt) {
    const zustandsmenge z = leeremenge(3);
    const zustandsmenge other_holder = z;
    EXPECT_EQ(hinzu(3, z).ref, z.ref);  // the highest state is in the ground set
    EXPECT_EQ(hinzu(3, z).ref, z.ref);  // already a member: nothing changes
    EXPECT_EQ(image_of(other_holder), "{ 3}\n");
}

TEST(Zustandsmenge, HinzuOutsideTheGroundSetRaisesIndexZuGross) {
    const zustandsmenge z = set_of(3, {1});
    EXPECT_EQ(raised([&] { hinzu(4, z); }), index_too_large);
    EXPECT_EQ(raised([&] { hinzu(-1, z); }), index_too_large);
    EXPECT_EQ(image_of(z), "{ 1}\n");
    // A negative state is refused before the set is looked at.
    EXPECT_EQ(raised([] { hinzu(-1, zustandsmenge{}); }), index_too_large);
}

TEST(Zustandsmenge, UnionIsANewSetAndLeavesItsOperands) {
    const zustandsmenge z1 = set_of(3, {3});
    const zustandsmenge z2 = set_of(3, {1, 3});
    const zustandsmenge z3 = z1 + z2;
    EXPECT_NE(z3.ref, z1.ref);
    EXPECT_NE(z3.ref, z2.ref);
    EXPECT_EQ(image_of(z3), "{ 1, 3}\n");
    EXPECT_EQ(image_of(z1), "{ 3}\n");
    EXPECT_EQ(image_of(z2), "{ 1, 3}\n");
    EXPECT_EQ(image_of(leeremenge(2) + set_of(2, {0, 2})), "{ 0, 2}\n");
}

TEST(Zustandsmenge, EqualityComparesMembersNotAddresses) {
    const zustandsmenge z = set_of(3, {0, 3});
    EXPECT_TRUE(z == z);
    EXPECT_TRUE(z == set_of(3, {3, 0}));
    EXPECT_TRUE(leeremenge(3) == leeremenge(3));
    EXPECT_FALSE(z == set_of(3, {0}));
    EXPECT_FALSE(set_of(3, {3}) == set_of(3, {1, 3}));
}

TEST(Zustandsmenge, DifferentGroundSetsRaiseGrundmengenVerschieden) {
    const zustandsmenge over_three = set_of(3, {1});
    const zustandsmenge over_four = set_of(4, {1});
    EXPECT_EQ(raised([&] { (void)(over_three + over_four); }), union_of_different_grounds);
    EXPECT_EQ(raised([&] { (void)(over_four + over_three); }), union_of_different_grounds);
    EXPECT_EQ(raised([&] { (void)(over_three == over_four); }), equality_of_different_grounds);
    EXPECT_EQ(raised([&] { (void)(over_four == over_three); }), equality_of_different_grounds);
}

TEST(Zustandsmenge, NoSetAndNoGroundSetRaiseTheCheckError) {
    const zustandsmenge none;
    const zustandsmenge some = leeremenge(2);
    EXPECT_TRUE(is_check_error(raised([] { leeremenge(0); })));
    EXPECT_TRUE(is_check_error(raised([&] { istleer(none); })));
    EXPECT_TRUE(is_check_error(raised([&] { hinzu(0, none); })));
    EXPECT_TRUE(is_check_error(raised([&] { (void)(none + some); })));
    EXPECT_TRUE(is_check_error(raised([&] { (void)(some + none); })));
    EXPECT_TRUE(is_check_error(raised([&] { (void)(some == none); })));
    EXPECT_TRUE(is_check_error(raised([] { ehuellevon(0, nullptr); })));
    // drucke writes its "{" before it looks at the set.
    const auto printed = into_file([&](common::text_writer& out) { drucke(none, out); });
    EXPECT_EQ(printed.text, "{");
    EXPECT_TRUE(is_check_error(printed.error));
}

// An automaton over 0 .. 5 with the given epsilon entries.
ndea_ref with_epsilon_moves(const std::vector<std::pair<int32, std::vector<int32>>>& entries) {
    const ndea_ref automaton = common::make<ndea_type>(5);
    for (const auto& [from, to] : entries) {
        for (const int32 s : to) {
            hinzu(s, automaton->ndet.at(from, eps));
        }
    }
    return automaton;
}

struct hull_case {
    const char* name;
    std::vector<std::pair<int32, std::vector<int32>>> epsilon;
    int32 q;
    const char* expected;
};

void PrintTo(const hull_case& c, std::ostream* os) {
    *os << c.name;
}

class EpsilonHull : public testing::TestWithParam<hull_case> {};

TEST_P(EpsilonHull, HoldsTheStateAndEveryStateReachedByEpsilonMoves) {
    const hull_case& c = GetParam();
    const ndea_ref automaton = with_epsilon_moves(c.epsilon);
    const zustandsmenge before = automaton->ndet.at(c.q, eps);
    const std::string entry = image_of(before);
    const zustandsmenge hull = ehuellevon(c.q, automaton);
    EXPECT_EQ(image_of(hull), c.expected);
    EXPECT_NE(hull.ref, before.ref);
    EXPECT_EQ(image_of(automaton->ndet.at(c.q, eps)), entry);  // the table stays as it was
}

INSTANTIATE_TEST_SUITE_P(
    Hulls, EpsilonHull,
    testing::Values(hull_case{"EmptyEntry", {}, 2, "{ 2}\n"},
                    hull_case{"StateItselfWithoutWayBack", {{0, {1, 3}}, {1, {2}}}, 0, "{ 0, 1, 2, 3}\n"},
                    hull_case{"Cycle", {{3, {4}}, {4, {5}}, {5, {3}}}, 3, "{ 3, 4, 5}\n"},
                    hull_case{"CycleOfTheProgram",
                              {{0, {1, 3}}, {1, {2}}, {2, {1}}, {3, {4}}, {4, {5}}, {5, {3}}},
                              0,
                              "{ 0, 1, 2, 3, 4, 5}\n"},
                    // Each state found lies below the one that found it: one pass each.
                    hull_case{"DescendingChain",
                              {{5, {4}}, {4, {3}}, {3, {2}}, {2, {1}}, {1, {0}}},
                              5,
                              "{ 0, 1, 2, 3, 4, 5}\n"}),
    [](const testing::TestParamInfo<hull_case>& info) { return std::string(info.param.name); });

// The copy of an automaton that zorbel makes: a table of its own whose
// entries are the same sets, and no final state.
TEST(NdeaType, CopyOfATableSharesItsSetsNotItsEntries) {
    ndea_type original(2);
    hinzu(1, original.ndet.at(0, 'a'));
    original.f.set(2, true, common::here());
    const ndea_type copy(original.ndet);
    EXPECT_EQ(copy.n, 2);
    for (int32 s = 0; s <= 2; ++s) {
        for (const char c : {'!', 'a', '~', eps}) {
            EXPECT_EQ(copy.ndet.at(s, c).ref, original.ndet.at(s, c).ref) << s << c;
        }
        EXPECT_FALSE(copy.f.contains(s, common::here())) << s;
    }
    hinzu(2, original.ndet.at(0, 'a'));  // a change of a set shows in both
    EXPECT_EQ(image_of(copy.ndet.at(0, 'a')), "{ 1, 2}\n");
    original.ndet.at(1, 'a') = leeremenge(2);  // a new entry shows in one
    EXPECT_NE(copy.ndet.at(1, 'a').ref, original.ndet.at(1, 'a').ref);
}

TEST(EpsilonHull, ReadsOnlyTheEpsilonColumn) {
    const ndea_ref automaton = with_epsilon_moves({});
    hinzu(1, automaton->ndet.at(0, 'a'));
    hinzu(2, automaton->ndet.at(0, '~'));
    EXPECT_EQ(image_of(ehuellevon(0, automaton)), "{ 0}\n");
}

TEST(EpsilonHull, BadStatesAndEntriesFail) {
    const ndea_ref automaton = with_epsilon_moves({{1, {2}}});
    EXPECT_TRUE(is_check_error(raised([&] { ehuellevon(6, automaton); })));
    EXPECT_TRUE(is_check_error(raised([&] { ehuellevon(-1, automaton); })));
    // An entry over a smaller ground set than its state: adding the state fails.
    automaton->ndet.at(4, eps) = leeremenge(2);
    EXPECT_EQ(raised([&] { ehuellevon(4, automaton); }), index_too_large);
    // An entry with a member beyond the hull's ground set.
    automaton->ndet.at(2, eps) = set_of(7, {7});
    EXPECT_TRUE(is_check_error(raised([&] { ehuellevon(1, automaton); })));
    // No entry at all.
    automaton->ndet.at(3, eps) = zustandsmenge{};
    EXPECT_TRUE(is_check_error(raised([&] { ehuellevon(3, automaton); })));
}

}  // namespace
