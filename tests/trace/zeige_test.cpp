#include "trace/zeige.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "common/errors.hpp"
#include "trace_support.hpp"

namespace {

using namespace trace_test;
using bp::teil_arten;

struct text_case {
    const char* program;
    const char* text;
};

// An expression renders through the assignment that holds it, a condition
// through the loop that tests it.
bp::ausdruck ausdruck_von(const std::string& expression) {
    return anweisungen("x := " + expression)->anw->links_ausdruck();
}

bp::bedingung bedingung_von(const std::string& condition) {
    return anweisungen("while " + condition + " do skip od")->anw->bedingungs_wert_schleife();
}

bp::ausdruck zahl(std::int32_t n) {
    auto* e = common::make<bp::ausdruck_rec>(bp::ausdrucks_art::ZAHL);
    e->zahl_wert() = n;
    return e;
}

void expect_check_error(const std::function<void()>& action) {
    try {
        action();
        ADD_FAILURE() << "no error";
    } catch (const common::named_error& e) {
        EXPECT_EQ(e.name(), common::check_error_name);
    }
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
        const bp::ausdruck e = ausdruck_von(c.program);
        EXPECT_EQ(bp::zeige_ausdr(e), c.text) << c.program;
        EXPECT_EQ(bp::zeige_ausdr(e), c.text) << c.program << ", rendered again";
    }
}

TEST(ZeigeBed, ConditionsOfProgramText) {
    const text_case cases[] = {
        {"x > 0", "(x> 0)"},  {"(x + 1) <= y", "((x+ 1)<=y)"},
        {"a /= b", "(a/=b)"}, {"10 >= n", "( 10>=n)"},
        {"a < b", "(a<b)"},   {"a = 1", "(a= 1)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(bp::zeige_bed(bedingung_von(c.program)), c.text) << c.program;
    }
}

// Program text has no truth-value words, so these records are built by hand.
TEST(ZeigeBed, TruthValuesInLowerCaseWithoutParentheses) {
    for (const bool w : {true, false}) {
        auto* b = common::make<bp::bedingung_rec>(bp::bedingungs_art::WAHR);
        b->wahr_wert() = w;
        EXPECT_EQ(bp::zeige_bed(b), w ? "true" : "false");
    }
}

TEST(ZeigeAusdr, NegativeNumbersHaveNoBlank) {
    auto* summe = common::make<bp::ausdruck_rec>(bp::ausdrucks_art::VERKN);
    summe->operator_wert() = bp::operator_::PLUS;
    summe->links_ausdruck() = ausdruck_von("x");
    summe->rechts_ausdruck() = zahl(-3);
    EXPECT_EQ(bp::zeige_ausdr(zahl(-3)), "-3");
    EXPECT_EQ(bp::zeige_ausdr(summe), "(x+-3)");
    EXPECT_EQ(bp::zeige_ausdr(zahl(-2147483647 - 1)), "-2147483648");
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
        EXPECT_EQ(bp::zeige_op(op), text);
    }
    for (const auto& [vergl, text] : comparisons) {
        EXPECT_EQ(bp::zeige_vergl(vergl), text);
    }
    expect_check_error([] { bp::zeige_op(static_cast<bp::operator_>(5)); });
    expect_check_error([] { bp::zeige_vergl(static_cast<bp::vergleicher>(6)); });
}

TEST(ZeigeAusdr, NullRecordsAreCheckErrors) {
    auto* halb = common::make<bp::ausdruck_rec>(bp::ausdrucks_art::VERKN);
    halb->links_ausdruck() = zahl(1);
    auto* vergleich = common::make<bp::bedingung_rec>(bp::bedingungs_art::VERGLEICH);
    expect_check_error([] { bp::zeige_ausdr(nullptr); });
    expect_check_error([&] { bp::zeige_ausdr(halb); });
    expect_check_error([] { bp::zeige_bed(nullptr); });
    expect_check_error([&] { bp::zeige_bed(vergleich); });
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
        EXPECT_EQ(bp::zeige_anw_f(anweisungen(c.program)), c.text) << c.program;
    }
}

TEST(ZeigeAnwF, EmptyAndNullLists) {
    EXPECT_EQ(bp::zeige_anw_f(nullptr), "[]");
    // An if whose else list is empty shows "[]" in its place.
    bp::anweisung_f liste = anweisungen("if x < 1 then skip else skip fi");
    liste->anw->zweit_anweisung_fall() = nullptr;
    EXPECT_EQ(bp::zeige_anw_f(liste), " if (x< 1) then skip else [] fi");
    expect_check_error([] { bp::zeige_anw_f(common::make<bp::anweisung_f_rec>()); });
}

TEST(ZeigeTeile, EveryKindOfPart) {
    const bp::anweisung_f liste = anweisungen("x := 1; if x > 0 then skip else skip fi");
    auto mit = [](teil_arten kind, auto setze) {
        bp::teil t = teil(kind);
        setze(*t);
        return t;
    };
    struct part_case {
        bp::teil part;
        const char* text;
    };
    const part_case cases[] = {
        {mit(teil_arten::ANW, [&](bp::teil_rec& t) { t.teil_anw() = liste->anw; }), "x:= 1"},
        {mit(teil_arten::ANW, [&](bp::teil_rec& t) { t.teil_anw() = liste->rest->anw; }),
         " if (x> 0) then skip else skip fi"},
        {mit(teil_arten::ANW_F, [&](bp::teil_rec& t) { t.teil_anw_f() = liste; }),
         "x:= 1; if (x> 0) then skip else skip fi"},
        {teil(teil_arten::ANW_F), "[]"},
        {mit(teil_arten::BED,
             [&](bp::teil_rec& t) { t.teil_bed() = liste->rest->anw->bedingungs_wert_fall(); }),
         "(x> 0)"},
        {mit(teil_arten::AUSDR, [](bp::teil_rec& t) { t.teil_ausdr() = ausdruck_von("(x + 1)"); }), "(x+ 1)"},
        {mit(teil_arten::BEZ, [](bp::teil_rec& t) { t.teil_bez() = "Zaehler"; }), "Zaehler"},
        {mit(teil_arten::ZWERT, [](bp::teil_rec& t) { t.teil_zwert() = 5; }), " 5"},
        {mit(teil_arten::ZWERT, [](bp::teil_rec& t) { t.teil_zwert() = -3; }), "-3"},
        {mit(teil_arten::WWERT, [](bp::teil_rec& t) { t.teil_wwert() = true; }), "true"},
        {mit(teil_arten::WWERT, [](bp::teil_rec& t) { t.teil_wwert() = false; }), "false"},
        {mit(teil_arten::OP, [](bp::teil_rec& t) { t.teil_op() = bp::operator_::MODULO; }), "`mod`"},
        {mit(teil_arten::ROP, [](bp::teil_rec& t) { t.teil_rop() = bp::vergleicher::UG; }), "/="},
        {teil(teil_arten::IF_CASE), "if"},
        {teil(teil_arten::DO_CASE), "do"},
        {teil(teil_arten::ZUW), ":="},
    };
    std::string alle;
    bp::teile stapel = nullptr;
    for (auto it = std::rbegin(cases); it != std::rend(cases); ++it) {
        stapel = push(stapel, it->part);
        alle = std::string(it->text) + (alle.empty() ? "" : "&") + alle;
    }
    for (const auto& c : cases) {
        EXPECT_EQ(bp::zeige_teile(push(nullptr, c.part)), c.text);
    }
    EXPECT_EQ(bp::zeige_teile(stapel), alle) << "head first, joined by a bare &";
    EXPECT_EQ(bp::zeige_teile(nullptr), "");
    expect_check_error([] { bp::zeige_teile(push(nullptr, nullptr)); });
    expect_check_error([] { bp::zeige_teile(push(nullptr, teil(teil_arten::AUSDR))); });
}

TEST(ZeigeVars, ValuesEntriesAndEnvironments) {
    EXPECT_EQ(bp::zeige_wert(bp::wert{}), "_");
    EXPECT_EQ(bp::zeige_wert(bp::wert{0}), " 0");
    EXPECT_EQ(bp::zeige_var(bp::variable{"x", bp::wert{5}}), "(x, 5)");
    EXPECT_EQ(bp::zeige_var(bp::variable{"x", bp::wert{-3}}), "(x,-3)");
    EXPECT_EQ(bp::zeige_var(bp::variable{"x", bp::wert{}}), "(x,_)");
    EXPECT_EQ(bp::zeige_vars(nullptr), "");
    auto* y = common::make<bp::umgebung_rec>(bp::variable{"y", bp::wert{}}, nullptr);
    auto* x = common::make<bp::umgebung_rec>(bp::variable{"x", bp::wert{1}}, y);
    EXPECT_EQ(bp::zeige_vars(x), "(x, 1)(y,_)");
}

TEST(Rev, NewCellsSamePartsOppositeOrder) {
    const bp::teil a = teil(teil_arten::IF_CASE);
    const bp::teil b = teil(teil_arten::DO_CASE);
    const bp::teile stapel = push(push(nullptr, a), b);
    const bp::teile umgekehrt = bp::rev(stapel);
    EXPECT_EQ(bp::rev(nullptr), nullptr);
    ASSERT_NE(umgekehrt, nullptr);
    EXPECT_EQ(umgekehrt->t, a);
    ASSERT_NE(umgekehrt->rest, nullptr);
    EXPECT_EQ(umgekehrt->rest->t, b);
    EXPECT_EQ(umgekehrt->rest->rest, nullptr);
    EXPECT_EQ(stapel->t, b);
    EXPECT_EQ(stapel->rest->t, a);
}

bp::teil zwert(std::int32_t n) {
    bp::teil t = teil(teil_arten::ZWERT);
    t->teil_zwert() = n;
    return t;
}

TEST(ZeigeKonf, Configurations) {
    EXPECT_EQ(bp::zeige_konf(bp::konfiguration{}), "<<  ,  ,  >>");

    const comtypes::grbaum eins = baum("x := 1");
    bp::konfiguration start{bp::var_tupel(eins, nullptr), nullptr, bp::baum_wandler(eins)};
    EXPECT_EQ(bp::zeige_konf(start), "<< (x,_) ,  , x:= 1 >>");

    // x := 1, then ZUW, BEZ x and the emptied list, with 1 on the value stack.
    bp::teil bez = teil(teil_arten::BEZ);
    bez->teil_bez() = "x";
    const bp::teile zuweisung =
        push(push(push(nullptr, teil(teil_arten::ANW_F)), bez), teil(teil_arten::ZUW));
    EXPECT_EQ(bp::zeige_konf({start.um, push(nullptr, zwert(1)), zuweisung}), "<< (x,_) ,  1 , :=&x&[] >>");
    EXPECT_EQ(bp::zeige_konf({start.um, push(nullptr, zwert(-3)), nullptr}), "<< (x,_) , -3 ,  >>");

    // x := 1; z := (3 + 4) just before the addition: 3 pushed, then 4.
    const comtypes::grbaum zwei = baum("x := 1; z := (3 + 4)");
    bp::umgebung um = bp::wert_eintrag("x", 1, bp::var_tupel(zwei, nullptr));
    bp::teil plus = teil(teil_arten::OP);
    plus->teil_op() = bp::operator_::PLUS;
    bp::teil bez_z = teil(teil_arten::BEZ);
    bez_z->teil_bez() = "z";
    const bp::teile zk =
        push(push(push(push(nullptr, teil(teil_arten::ANW_F)), bez_z), teil(teil_arten::ZUW)), plus);
    const bp::teile wk = push(push(nullptr, zwert(3)), zwert(4));
    const bp::konfiguration vor_addition{um, wk, zk};
    const std::string erwartet = "<< (z,_)(x, 1) ,  3& 4 , +&:=&z&[] >>";
    EXPECT_EQ(bp::zeige_konf(vor_addition), erwartet);
    EXPECT_EQ(bp::zeige_konf(vor_addition), erwartet) << "rendering leaves the stacks as they were";
    EXPECT_EQ(wk->t->teil_zwert(), 4);
    EXPECT_EQ(wk->rest->t->teil_zwert(), 3);
    EXPECT_EQ(wk->rest->rest, nullptr);

    std::string erg = "vorher|";
    bp::zeige_konf(erg, vor_addition);
    EXPECT_EQ(erg, "vorher|" + erwartet) << "the appending form adds to what stands";
}

}  // namespace
