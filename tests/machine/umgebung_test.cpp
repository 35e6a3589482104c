// The environment: start order of var_tupel, lookups and stores in place.
#include <gtest/gtest.h>

#include <string>

#include "common/arena.hpp"
#include "tests/machine/machine_support.hpp"
#include "tests/support/capture.hpp"
#include "tests/support/environment_reference.hpp"
#include "tests/support/while_programs.hpp"
#include "tests/support/while_tree.hpp"

namespace {

using namespace baumwandler_package;
using machine_tests::names;
using test_support::grammar_tree;

struct order_case {
    const char* program;
    const char* names;
};

TEST(VarTupel, StartEnvironmentListsTheNamesInItsFixedOrder) {
    const order_case cases[] = {
        {"x := 1; y := 2", "y, x"},
        {"x := (a + b)", "x, b, a"},
        {"a := 1; x := (a + b)", "x, b, a"},
        {"if a < b then x := 1 else y := c fi", "y, c, x, b, a"},
        {"n := 5; s := 0; while n > 0 do s := (s + n); n := (n - 1) od", "s, n"},
        {"x := (x + 1)", "x"},
        {"x := ((x + y) * x)", "x, y"},
        {"x := (y + (x * z)); w := x", "w, x, z, y"},
        {"X := 1; x := X", "x, X"},
        {"while a < 1 do if b = c then x := (d + x) else skip fi; y := a od", "y, x, d, c, b, a"},
        {"x := 1; z := (3 + 4)", "z, x"},
        {"y := 0; if y > 0 then x := (x + 1) else x := 1 fi", "x, y"},
        {"x := true", "x, true"},
        {"skip", ""},
    };
    for (const auto& c : cases) {
        const umgebung u = var_tupel(grammar_tree(c.program), nullptr);
        EXPECT_EQ(names(u), c.names) << c.program;
        for (umgebung e = u; e != nullptr; e = e->next) {
            EXPECT_TRUE(ist_undef(e->elem.variable_wert)) << c.program;
        }
    }
}

TEST(VarTupel, GivenListStaysAsTheTail) {
    const comtypes::grbaum b = grammar_tree("x := (a + b)");
    const umgebung all = var_tupel(b, nullptr);
    EXPECT_EQ(var_tupel(b, all), all);  // nothing new: the list itself
    EXPECT_EQ(var_tupel(nullptr, all), all);
    const umgebung some = var_tupel(grammar_tree("b := 1"), nullptr);
    const umgebung more = var_tupel(b, some);
    EXPECT_EQ(names(more), "x, a, b");
    EXPECT_EQ(more->next->next, some);
}

// The walk agrees with the definition on generated programs, from the empty
// list and from a list that holds some of the names already.
TEST(VarTupel, AgreesWithTheDefinitionOnGeneratedPrograms) {
    int names_seen = 0;
    for (unsigned seed = 1; seed <= 30; ++seed) {
        test_support::program_generator generator(seed);
        const std::string text = seed == 1 ? generator.program(400, 1) : generator.program(10, 4);
        const comtypes::grbaum b = grammar_tree(text);
        ASSERT_NE(b, nullptr) << text;
        const umgebung given = var_tupel(grammar_tree("z0 := b; u := 1"), nullptr);
        for (const umgebung start : {umgebung{nullptr}, given}) {
            const umgebung walked = var_tupel(b, start);
            const umgebung defined = test_support::reference_var_tupel(b, start);
            EXPECT_EQ(names(walked), names(defined)) << text;
            umgebung tail = walked;
            for (umgebung d = defined; d != start; d = d->next) {
                ASSERT_NE(tail, nullptr) << text;
                tail = tail->next;
                ++names_seen;
            }
            EXPECT_EQ(tail, start) << "the given cells stay as the tail: " << text;
        }
    }
    EXPECT_GT(names_seen, 500);
}

TEST(VarTupel, EachRunGetsCellsOfItsOwn) {
    const comtypes::grbaum b = grammar_tree("x := 1");
    const umgebung first = var_tupel(b, nullptr);
    const umgebung second = var_tupel(b, nullptr);
    (void)wert_eintrag("x", 1, first);
    EXPECT_TRUE(ist_undef(wert_suche("x", second)));
}

TEST(VarTupel, ManyNamesAndADeepTreeNeedNoDeepRecursion) {
    std::string program = "v0 := 0";
    for (int i = 1; i < 50000; ++i) {
        program += "; v" + std::to_string(i) + " := v" + std::to_string(i - 1);
    }
    const umgebung u = var_tupel(grammar_tree(program), nullptr);
    ASSERT_NE(u, nullptr);
    EXPECT_EQ(u->elem.variable_name, "v49999");
    int count = 0;
    for (umgebung e = u; e != nullptr; e = e->next) {
        ++count;
    }
    EXPECT_EQ(count, 50000);
}

// three_entries is the list x, y, x: the second x is never reached.
umgebung three_entries() {
    const umgebung third = common::make<umgebung_rec>(variable{"x", wert{3}});
    const umgebung second = common::make<umgebung_rec>(variable{"y", wert{}}, third);
    return common::make<umgebung_rec>(variable{"x", wert{}}, second);
}

TEST(Umgebung, LookupAndStoreUseTheFirstEntryInPlace) {
    const umgebung u = three_entries();
    EXPECT_TRUE(ist_undef(wert_suche("x", u)));
    EXPECT_TRUE(ist_undef(wert_suche("z", u)));

    const wert before = wert_suche("x", u);
    EXPECT_EQ(wert_eintrag("x", 5, u), u);
    EXPECT_EQ(wert_eintrag("x", -6, u), u);
    EXPECT_TRUE(ist_undef(before));  // a looked-up value is a copy
    EXPECT_EQ(wert_suche("x", u).zahl_wert(), -6);
    EXPECT_EQ(u->elem.variable_wert.zahl_wert(), -6);
    EXPECT_EQ(u->next->next->elem.variable_wert.zahl_wert(), 3);  // later entry untouched
    EXPECT_EQ(names(u), "x, y, x");
}

TEST(Umgebung, StoreWithoutEntryWritesItsMessageWithoutLineEnd) {
    const umgebung u = three_entries();
    umgebung from_none = u;
    umgebung from_u = nullptr;
    const auto screen = test_support::on_screen([&] {
        from_none = wert_eintrag("q", 1, nullptr);
        from_u = wert_eintrag("z", 1, u);
    });
    EXPECT_EQ(from_none, nullptr);
    EXPECT_EQ(from_u, u);
    EXPECT_EQ(screen.error, "");
    EXPECT_EQ(screen.text, "error: Variable q nicht in der Umgebungerror: Variable z nicht in der Umgebung");
}

TEST(Umgebung, VardAndIstUndef) {
    const variable d = vard();
    EXPECT_EQ(d.variable_name, "d");
    EXPECT_EQ(d.variable_wert.zahl_wert(), 0);
    EXPECT_FALSE(ist_undef(wert{0}));
    EXPECT_TRUE(ist_undef(wert{}));
}

}  // namespace
