// The machine records: defaults and the guards of their variant fields.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <type_traits>
#include <utility>

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "machine/baumwandler_package.hpp"
#include "tests/support/raised.hpp"

namespace {

using namespace baumwandler_package;
using test_support::raised;
using test_support::report;

struct guard_case {
    const char* what;
    std::function<void()> access;
    std::string expected;
};

// The check error at the place that a record's guard names.
std::string guard(common::place where) {
    return report(common::check_error_name, where);
}

TEST(Records, FieldOfAnotherKindNamesTheInterfaceLineOfItsType) {
    const guard_case cases[] = {
        {"ZAHL name_wert", [] { (void)common::make<ausdruck_rec>(ausdrucks_art::ZAHL)->name_wert(); },
         guard(places::ausdruck_rec)},
        {"NAME links_ausdruck",
         [] { (void)common::make<ausdruck_rec>(ausdrucks_art::NAME)->links_ausdruck(); },
         guard(places::ausdruck_rec)},
        {"WAHR vergleichs_wert",
         [] { (void)common::make<bedingung_rec>(bedingungs_art::WAHR)->vergleichs_wert(); },
         guard(places::bedingung_rec)},
        {"VERGLEICH wahr_wert",
         [] { (void)common::make<bedingung_rec>(bedingungs_art::VERGLEICH)->wahr_wert(); },
         guard(places::bedingung_rec)},
        {"SKIP zuweisungs_name",
         [] { (void)common::make<anweisung_rec>(anweisungs_art::SKIP)->zuweisungs_name(); },
         guard(places::anweisung_rec)},
        {"FALL erst_anweisung_schleife",
         [] { (void)common::make<anweisung_rec>(anweisungs_art::FALL)->erst_anweisung_schleife(); },
         guard(places::anweisung_rec)},
        {"UNDEF zahl_wert", [] { (void)wert{}.zahl_wert(); }, guard(places::wert)},
        {"IF_CASE teil_anw", [] { (void)common::make<teil_rec>(teil_arten::IF_CASE)->teil_anw(); },
         guard(places::teil_rec)},
        {"ZUW teil_bez", [] { (void)common::make<teil_rec>(teil_arten::ZUW)->teil_bez(); },
         guard(places::teil_rec)},
        {"WWERT teil_zwert", [] { (void)common::make<teil_rec>(teil_arten::WWERT)->teil_zwert(); },
         guard(places::teil_rec)},
        {"ENDE akt_zustand", [] { (void)zustand{}.akt_zustand(); }, guard(places::zustand)},
        {"AKT ende_zustand", [] { (void)zustand{konfiguration{}}.ende_zustand(); }, guard(places::zustand)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(raised(c.access), c.expected) << c.what;
    }
}

TEST(Records, FieldsOfTheRecordsOwnKindAreThere) {
    const ausdruck e = common::make<ausdruck_rec>(ausdrucks_art::VERKN);
    e->operator_wert() = operator_::DIV;
    EXPECT_EQ(e->operator_wert(), operator_::DIV);
    EXPECT_EQ(e->links_ausdruck(), nullptr);
    const teil t = common::make<teil_rec>(teil_arten::BEZ);
    EXPECT_EQ(t->teil_bez(), "");
    wert w{-5};
    EXPECT_EQ(w.form, wert_art::DEF_WERT);
    EXPECT_EQ(w.zahl_wert(), -5);
}

TEST(Records, HeldByValueRecordsHaveTheirDefaults) {
    const wert w;
    EXPECT_EQ(w.form, wert_art::UNDEF);
    const variable v;
    EXPECT_EQ(v.variable_name, "");
    EXPECT_EQ(v.variable_wert.form, wert_art::UNDEF);
    const konfiguration k;
    EXPECT_EQ(k.um, nullptr);
    EXPECT_EQ(k.wk, nullptr);
    EXPECT_EQ(k.zk, nullptr);
    const zustand z;
    EXPECT_EQ(z.form, zustand_arten::ENDE);
    EXPECT_EQ(z.ende_zustand(), nullptr);
}

TEST(Records, AssigningAWholeValueChangesItsKind) {
    variable v;
    v.variable_wert = wert{7};
    EXPECT_EQ(v.variable_wert.zahl_wert(), 7);
    zustand z;
    z = zustand{konfiguration{}};
    EXPECT_EQ(z.form, zustand_arten::AKT);
    EXPECT_EQ(z.akt_zustand().zk, nullptr);
}

// A scope gives records back without running a destructor: none may need one.
static_assert(std::is_trivially_destructible_v<ausdruck_rec> &&
              std::is_trivially_destructible_v<bedingung_rec> &&
              std::is_trivially_destructible_v<anweisung_rec> &&
              std::is_trivially_destructible_v<anweisung_f_rec> &&
              std::is_trivially_destructible_v<umgebung_rec> &&
              std::is_trivially_destructible_v<variable_rec> && std::is_trivially_destructible_v<teil_rec> &&
              std::is_trivially_destructible_v<teile_rec>);

TEST(Records, ANameIsACopyThatOutlivesItsTextAndIsSharedByCopying) {
    name_ref name;
    EXPECT_TRUE(name.view().empty());
    EXPECT_EQ(name, "");
    {
        std::string text = "einnamelaengeralsfuenfzehnzeichen";
        name = text;
        text.assign(text.size(), '?');
    }
    EXPECT_EQ(name, "einnamelaengeralsfuenfzehnzeichen");
    const name_ref copy = name;
    EXPECT_EQ(copy.view().data(), name.view().data());
    const teil bez = common::make<teil_rec>(teil_arten::BEZ);
    bez->teil_bez() = "z";
    EXPECT_EQ(bez->teil_bez(), "z");
    EXPECT_EQ(sizeof(teil_rec), 16U);
}

TEST(Places, TheMachinesReportsNameTheirFixedLines) {
    const std::pair<common::place, const char*> fixed[] = {
        {places::ausdruck_rec, "baumwandler_package:20"},
        {places::bedingung_rec, "baumwandler_package:35"},
        {places::anweisung_rec, "baumwandler_package:54"},
        {places::wert, "baumwandler_package:77"},
        {places::teil_rec, "baumwandler_package:114"},
        {places::zustand, "baumwandler_package:160"},
        {places::no_operator, "baumwandler_package:276"},
        {places::plus, "baumwandler_package:277"},
        {places::minus, "baumwandler_package:279"},
        {places::mal, "baumwandler_package:281"},
        {places::div, "baumwandler_package:283"},
        {places::modulo, "baumwandler_package:285"},
        {places::no_comparison, "baumwandler_package:296"},
        {places::number_beyond_32_bits, "baumwandler_package:33"},
    };
    for (const auto& [where, text] : fixed) {
        EXPECT_EQ(where.text(), text);
    }
}

TEST(Records, WhileinitErrorHasItsFullName) {
    EXPECT_EQ(whileinit_error, "BAUMWANDLER_PACKAGE.WHILEINIT_ERROR");
}

}  // namespace
