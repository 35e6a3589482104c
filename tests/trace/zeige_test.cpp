#include "trace/zeige.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/errors.hpp"
#include "tests/support/machine_parts.hpp"
#include "tests/support/raised.hpp"
#include "tests/support/rendered.hpp"

namespace {

using namespace test_support;
using bp::teil_arten;

struct text_case {
    const char* program;
    const char* text;
};

void expect_check_error(const std::function<void()>& action) {
    EXPECT_EQ(raised_name(action), common::check_error_name);
}

TEST(ZeigeAusdr, ExpressionsOfProgramText) {
    const text_case cases[] = {
        {"5", " 5"},
        {"0", " 0"},
        {"x", "x"},
        {"(x + 1)", "(x+ 1)"},
        {"(2 * (y - 3))", "( 2*(y- 3))"},
        {"((x + y) * z)", "((x+y)*z)"},
        {"(a div b)", "(a`div`b)"},
        {"(n mod 2)", "(n`mod` 2)"},
        {"(x div 2)", "(x`div` 2)"},
        {"(7 - 2)", "( 7- 2)"},
        {"(2 - 7)", "( 2- 7)"},
        {"007", " 7"},
        {"2147483647", " 2147483647"},
    };
    for (const auto& c : cases) {
        const bp::ausdruck e = expression(c.program);
        EXPECT_EQ(text_of(bp::zeige_ausdr, e), c.text) << c.program;
        EXPECT_EQ(text_of(bp::zeige_ausdr, e), c.text) << c.program << ", rendered again";
    }
}

TEST(ZeigeBed, ConditionsOfProgramText) {
    const text_case cases[] = {
        {"x > 0", "(x> 0)"},  {"(x + 1) <= y", "((x+ 1)<=y)"},
        {"a /= b", "(a/=b)"}, {"10 >= n", "( 10>=n)"},
        {"a < b", "(a<b)"},   {"a = 1", "(a= 1)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text_of(bp::zeige_bed, condition(c.program)), c.text) << c.program;
    }
}

// Program text has no truth-value words, so these records are built by hand.
TEST(ZeigeBed, TruthValuesInLowerCaseWithoutParentheses) {
    EXPECT_EQ(text_of(bp::zeige_bed, truth(true)), "true");
    EXPECT_EQ(text_of(bp::zeige_bed, truth(false)), "false");
}

TEST(ZeigeAusdr, NegativeNumbersHaveNoBlank) {
    auto* sum = common::make<bp::ausdruck_rec>(bp::ausdrucks_art::VERKN);
    sum->operator_wert() = bp::operator_::PLUS;
    sum->links_ausdruck() = expression("x");
    sum->rechts_ausdruck() = number(-3);
    EXPECT_EQ(text_of(bp::zeige_ausdr, number(-3)), "-3");
    EXPECT_EQ(text_of(bp::zeige_ausdr, sum), "(x+-3)");
    EXPECT_EQ(text_of(bp::zeige_ausdr, number(-2147483647 - 1)), "-2147483648");
}

TEST(ZeigeOp, EveryOperatorAndComparison) {
    const std::pair<bp::operator_, const char*> operators[] = {
        {bp::operator_::PLUS, "+"},    {bp::operator_::MINUS, "-"},      {bp::operator_::MAL, "*"},
        {bp::operator_::DIV, "`div`"}, {bp::operator_::MODULO, "`mod`"},
    };
    const std::pair<bp::vergleicher, const char*> comparisons[] = {
        {bp::vergleicher::KL, "<"},  {bp::vergleicher::GL, "="},  {bp::vergleicher::GR, ">"},
        {bp::vergleicher::KG, "<="}, {bp::vergleicher::UG, "/="}, {bp::vergleicher::GG, ">="},
    };
    for (const auto& [op, text] : operators) {
        EXPECT_EQ(text_of(bp::zeige_op, op), text);
    }
    for (const auto& [comparison, text] : comparisons) {
        EXPECT_EQ(text_of(bp::zeige_vergl, comparison), text);
    }
    expect_check_error([] { text_of(bp::zeige_op, static_cast<bp::operator_>(bp::operator_count)); });
    expect_check_error([] { text_of(bp::zeige_vergl, static_cast<bp::vergleicher>(bp::comparison_count)); });
}

TEST(ZeigeAusdr, NullRecordsAreCheckErrors) {
    auto* half = common::make<bp::ausdruck_rec>(bp::ausdrucks_art::VERKN);
    half->links_ausdruck() = number(1);
    auto* comparison = common::make<bp::bedingung_rec>(bp::bedingungs_art::VERGLEICH);
    expect_check_error([] { text_of(bp::zeige_ausdr, nullptr); });
    expect_check_error([&] { text_of(bp::zeige_ausdr, half); });
    expect_check_error([] { text_of(bp::zeige_bed, nullptr); });
    expect_check_error([&] { text_of(bp::zeige_bed, comparison); });
}

TEST(ZeigeAnwF, StatementListsOfProgramText) {
    const text_case cases[] = {
        {"skip", "skip"},
        {"x := 5", "x:= 5"},
        {"y := x", "y:=x"},
        {"x := (x + 1)", "x:=(x+ 1)"},
        {"x := 1; y := 2", "x:= 1;y:= 2"},
        {"skip; skip", "skip;skip"},
        {"x := 3; while x > 0 do x := (x - 1) od", "x:= 3; while (x> 0) do x:=(x- 1) od "},
        {"if x < 1 then skip else y := 2 fi; z := 0", " if (x< 1) then skip else y:= 2 fi;z:= 0"},
        {"while x > 0 do x := (x - 1) od; y := x", " while (x> 0) do x:=(x- 1) od ;y:=x"},
        {"while x > 0 do if x = 1 then x := 0 else x := (x - 2) fi od",
         " while (x> 0) do  if (x= 1) then x:= 0 else x:=(x- 2) fi od "},
        {"if a /= b then x := 1; y := 2 else skip fi", " if (a/=b) then x:= 1;y:= 2 else skip fi"},
        {"if x = 1 then while x < 0 do skip od else skip fi",
         " if (x= 1) then  while (x< 0) do skip od  else skip fi"},
        {"while x > 0 do while y > 0 do skip od od", " while (x> 0) do  while (y> 0) do skip od  od "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text_of(bp::zeige_anw_f, statements(c.program)), c.text) << c.program;
    }
}

TEST(ZeigeAnwF, EmptyAndNullLists) {
    EXPECT_EQ(text_of(bp::zeige_anw_f, nullptr), "[]");
    // An if whose else list is empty shows "[]" in its place.
    bp::anweisung_f list = statements("if x < 1 then skip else skip fi");
    list->anw->zweit_anweisung_fall() = nullptr;
    EXPECT_EQ(text_of(bp::zeige_anw_f, list), " if (x< 1) then skip else [] fi");
    expect_check_error([] { text_of(bp::zeige_anw_f, common::make<bp::anweisung_f_rec>()); });
}

TEST(ZeigeTeile, EveryKindOfPart) {
    const bp::anweisung_f list = statements("x := 1; if x > 0 then skip else skip fi");
    struct part_case {
        bp::teil part;
        const char* text;
    };
    const part_case cases[] = {
        {anw(list->anw), "x:= 1"},
        {anw(list->rest->anw), " if (x> 0) then skip else skip fi"},
        {anw_f(list), "x:= 1; if (x> 0) then skip else skip fi"},
        {part(teil_arten::ANW_F), "[]"},
        {bed(list->rest->anw->bedingungs_wert_fall()), "(x> 0)"},
        {ausdr(expression("(x + 1)")), "(x+ 1)"},
        {bez("Zaehler"), "Zaehler"},
        {zwert(5), " 5"},
        {zwert(-3), "-3"},
        {wwert(true), "true"},
        {wwert(false), "false"},
        {op(bp::operator_::MODULO), "`mod`"},
        {rop(bp::vergleicher::UG), "/="},
        {part(teil_arten::IF_CASE), "if"},
        {part(teil_arten::DO_CASE), "do"},
        {part(teil_arten::ZUW), ":="},
    };
    std::string all;
    bp::teile stack = nullptr;
    for (auto it = std::rbegin(cases); it != std::rend(cases); ++it) {
        stack = push(it->part, stack);
        all = std::string(it->text) + (all.empty() ? "" : "&") + all;
    }
    for (const auto& c : cases) {
        EXPECT_EQ(text_of(bp::zeige_teile, push(c.part)), c.text);
    }
    EXPECT_EQ(text_of(bp::zeige_teile, stack), all) << "head first, joined by a bare &";
    EXPECT_EQ(text_of(bp::zeige_teile, nullptr), "");
    expect_check_error([] { text_of(bp::zeige_teile, push(nullptr)); });
    expect_check_error([] { text_of(bp::zeige_teile, push(part(teil_arten::AUSDR))); });
}

TEST(ZeigeVars, ValuesEntriesAndEnvironments) {
    EXPECT_EQ(text_of(bp::zeige_wert, bp::wert{}), "_");
    EXPECT_EQ(text_of(bp::zeige_wert, bp::wert{0}), " 0");
    EXPECT_EQ(text_of(bp::zeige_var, bp::variable{"x", bp::wert{5}}), "(x, 5)");
    EXPECT_EQ(text_of(bp::zeige_var, bp::variable{"x", bp::wert{-3}}), "(x,-3)");
    EXPECT_EQ(text_of(bp::zeige_var, bp::variable{"x", bp::wert{}}), "(x,_)");
    EXPECT_EQ(text_of(bp::zeige_vars, nullptr), "");
    auto* y = common::make<bp::umgebung_rec>(bp::variable{"y", bp::wert{}}, nullptr);
    auto* x = common::make<bp::umgebung_rec>(bp::variable{"x", bp::wert{1}}, y);
    EXPECT_EQ(text_of(bp::zeige_vars, x), "(x, 1)(y,_)");
}

TEST(Rev, NewCellsSamePartsOppositeOrder) {
    const bp::teil a = part(teil_arten::IF_CASE);
    const bp::teil b = part(teil_arten::DO_CASE);
    const bp::teil c = part(teil_arten::ZUW);
    const bp::teile stack = push(c, push(b, push(a)));
    std::vector<bp::teile_rec> cells(5);  // filled anew, whatever they held
    EXPECT_EQ(bp::rev(nullptr, cells), nullptr);
    const bp::teile reversed = bp::rev(stack, cells);
    std::vector<bp::teil> parts;
    for (bp::teile z = reversed; z != nullptr; z = z->rest) {
        EXPECT_TRUE(z != stack && z != stack->rest && z != stack->rest->rest) << "a new cell";
        parts.push_back(z->t);
    }
    EXPECT_EQ(parts, (std::vector<bp::teil>{a, b, c}));
    EXPECT_EQ(stack->t, c);
    EXPECT_EQ(stack->rest->t, b);
    EXPECT_EQ(stack->rest->rest->t, a);
    EXPECT_EQ(stack->rest->rest->rest, nullptr);
}

TEST(ZeigeKonf, Configurations) {
    EXPECT_EQ(text_of(bp::zeige_konf, bp::konfiguration{}), "<<  ,  ,  >>");

    const bp::konfiguration one = start("x := 1").akt_zustand();
    EXPECT_EQ(text_of(bp::zeige_konf, one), "<< (x,_) ,  , x:= 1 >>");

    // x := 1, then ZUW, BEZ x and the emptied list, with 1 on the value stack.
    const bp::teile assignment = push(part(teil_arten::ZUW), push(bez("x"), push(part(teil_arten::ANW_F))));
    EXPECT_EQ(text_of(bp::zeige_konf, {one.um, push(zwert(1)), assignment}), "<< (x,_) ,  1 , :=&x&[] >>");
    EXPECT_EQ(text_of(bp::zeige_konf, {one.um, push(zwert(-3)), nullptr}), "<< (x,_) , -3 ,  >>");

    // x := 1; z := (3 + 4) just before the addition: 3 pushed, then 4.
    const comtypes::grbaum two = grammar_tree("x := 1; z := (3 + 4)");
    bp::umgebung um = bp::wert_eintrag("x", 1, bp::var_tupel(two, nullptr));
    const bp::teile zk = push(op(bp::operator_::PLUS),
                              push(part(teil_arten::ZUW), push(bez("z"), push(part(teil_arten::ANW_F)))));
    const bp::teile wk = push(zwert(4), push(zwert(3)));
    const bp::konfiguration before_addition{um, wk, zk};
    const std::string expected = "<< (z,_)(x, 1) ,  3& 4 , +&:=&z&[] >>";
    EXPECT_EQ(text_of(bp::zeige_konf, before_addition), expected);
    EXPECT_EQ(text_of(bp::zeige_konf, before_addition), expected)
        << "rendering leaves the stacks as they were";
    EXPECT_EQ(wk->t->teil_zwert(), 4);
    EXPECT_EQ(wk->rest->t->teil_zwert(), 3);
    EXPECT_EQ(wk->rest->rest, nullptr);
}

}  // namespace
