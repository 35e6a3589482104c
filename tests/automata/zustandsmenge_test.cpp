// State sets with their two named errors, and the epsilon hull.
#include "automata/zustandsmenge.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "support/capture.hpp"
#include "support/raised.hpp"

namespace {

using namespace zorbel;
using test_support::into_file;
using test_support::raised;

constexpr char eps = ndet_ueber_type::epsilon;

zustandsmenge menge(int32 n, const std::vector<int32>& members) {
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
    return error.starts_with("CHECK_ERROR : zustandsmenge:");
}

TEST(Zustandsmenge, PrintsMembersAsImagesSeparatedByCommas) {
    EXPECT_EQ(image_of(leeremenge(3)), "{}\n");
    EXPECT_EQ(image_of(menge(3, {0})), "{ 0}\n");
    EXPECT_EQ(image_of(menge(3, {3})), "{ 3}\n");
    EXPECT_EQ(image_of(menge(3, {3, 1, 0})), "{ 0, 1, 3}\n");
    EXPECT_EQ(image_of(menge(12, {10, 2})), "{ 2, 10}\n");
}

TEST(Zustandsmenge, IstleerLooksAtEveryState) {
    EXPECT_TRUE(istleer(leeremenge(1)));
    EXPECT_FALSE(istleer(menge(4, {4})));
    EXPECT_FALSE(istleer(menge(4, {0})));
}

TEST(Zustandsmenge, HinzuChangesTheSetItselfAndReturnsIt) {
    const zustandsmenge z = leeremenge(3);
    const zustandsmenge other_holder = z;
    EXPECT_EQ(hinzu(3, z).ref, z.ref);  // the highest state is in the ground set
    EXPECT_EQ(hinzu(3, z).ref, z.ref);  // already a member: nothing changes
    EXPECT_EQ(image_of(other_holder), "{ 3}\n");
}

TEST(Zustandsmenge, HinzuOutsideTheGroundSetRaisesIndexZuGross) {
    const zustandsmenge z = menge(3, {1});
    EXPECT_EQ(raised([&] { hinzu(4, z); }), "ZORBEL.INDEX_ZU_GROSS : zorbel:154");
    EXPECT_EQ(raised([&] { hinzu(-1, z); }), "ZORBEL.INDEX_ZU_GROSS : zorbel:154");
    EXPECT_EQ(image_of(z), "{ 1}\n");
    // A negative state is refused before the set is looked at.
    EXPECT_EQ(raised([] { hinzu(-1, zustandsmenge{}); }), "ZORBEL.INDEX_ZU_GROSS : zorbel:154");
}

TEST(Zustandsmenge, UnionIsANewSetAndLeavesItsOperands) {
    const zustandsmenge z1 = menge(3, {3});
    const zustandsmenge z2 = menge(3, {1, 3});
    const zustandsmenge z3 = z1 + z2;
    EXPECT_NE(z3.ref, z1.ref);
    EXPECT_NE(z3.ref, z2.ref);
    EXPECT_EQ(image_of(z3), "{ 1, 3}\n");
    EXPECT_EQ(image_of(z1), "{ 3}\n");
    EXPECT_EQ(image_of(z2), "{ 1, 3}\n");
    EXPECT_EQ(image_of(leeremenge(2) + menge(2, {0, 2})), "{ 0, 2}\n");
}

TEST(Zustandsmenge, EqualityComparesMembersNotAddresses) {
    const zustandsmenge z = menge(3, {0, 3});
    EXPECT_TRUE(z == z);
    EXPECT_TRUE(z == menge(3, {3, 0}));
    EXPECT_TRUE(leeremenge(3) == leeremenge(3));
    EXPECT_FALSE(z == menge(3, {0}));
    EXPECT_FALSE(menge(3, {3}) == menge(3, {1, 3}));
}

TEST(Zustandsmenge, DifferentGroundSetsRaiseGrundmengenVerschieden) {
    const zustandsmenge drei = menge(3, {1});
    const zustandsmenge vier = menge(4, {1});
    EXPECT_EQ(raised([&] { (void)(drei + vier); }), "ZORBEL.GRUNDMENGEN_VERSCHIEDEN : zorbel:173");
    EXPECT_EQ(raised([&] { (void)(vier + drei); }), "ZORBEL.GRUNDMENGEN_VERSCHIEDEN : zorbel:173");
    EXPECT_EQ(raised([&] { (void)(drei == vier); }), "ZORBEL.GRUNDMENGEN_VERSCHIEDEN : zorbel:197");
    EXPECT_EQ(raised([&] { (void)(vier == drei); }), "ZORBEL.GRUNDMENGEN_VERSCHIEDEN : zorbel:197");
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
    const ndea_ref automat = common::make<ndea_type>(5);
    for (const auto& [from, to] : entries) {
        for (const int32 s : to) {
            hinzu(s, automat->ndet.at(from, eps));
        }
    }
    return automat;
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
    const ndea_ref automat = with_epsilon_moves(c.epsilon);
    const zustandsmenge before = automat->ndet.at(c.q, eps);
    const std::string entry = image_of(before);
    const zustandsmenge hull = ehuellevon(c.q, automat);
    EXPECT_EQ(image_of(hull), c.expected);
    EXPECT_NE(hull.ref, before.ref);
    EXPECT_EQ(image_of(automat->ndet.at(c.q, eps)), entry);  // the table stays as it was
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
    const ndea_ref automat = with_epsilon_moves({});
    hinzu(1, automat->ndet.at(0, 'a'));
    hinzu(2, automat->ndet.at(0, '~'));
    EXPECT_EQ(image_of(ehuellevon(0, automat)), "{ 0}\n");
}

TEST(EpsilonHull, BadStatesAndEntriesFail) {
    const ndea_ref automat = with_epsilon_moves({{1, {2}}});
    EXPECT_TRUE(is_check_error(raised([&] { ehuellevon(6, automat); })));
    EXPECT_TRUE(is_check_error(raised([&] { ehuellevon(-1, automat); })));
    // An entry over a smaller ground set than its state: adding the state fails.
    automat->ndet.at(4, eps) = leeremenge(2);
    EXPECT_EQ(raised([&] { ehuellevon(4, automat); }), "ZORBEL.INDEX_ZU_GROSS : zorbel:154");
    // An entry with a member beyond the hull's ground set.
    automat->ndet.at(2, eps) = menge(7, {7});
    EXPECT_TRUE(is_check_error(raised([&] { ehuellevon(1, automat); })));
    // No entry at all.
    automat->ndet.at(3, eps) = zustandsmenge{};
    EXPECT_TRUE(is_check_error(raised([&] { ehuellevon(3, automat); })));
}

}  // namespace
