// The machine records: defaults and the guards of their variant fields.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <type_traits>

#include "common/arena.hpp"
#include "machine/baumwandler_package.hpp"
#include "support/raised.hpp"

namespace {

using namespace baumwandler_package;
using test_support::raised;

struct guard_case {
    const char* what;
    std::function<void()> access;
    const char* expected;
};

TEST(Records, FieldOfAnotherKindNamesTheInterfaceLineOfItsType) {
    const guard_case cases[] = {
        {"ZAHL name_wert", [] { (void)common::make<ausdruck_rec>(ausdrucks_art::ZAHL)->name_wert(); },
         "CHECK_ERROR : baumwandler_package:20"},
        {"NAME links_ausdruck",
         [] { (void)common::make<ausdruck_rec>(ausdrucks_art::NAME)->links_ausdruck(); },
         "CHECK_ERROR : baumwandler_package:20"},
        {"WAHR vergleichs_wert",
         [] { (void)common::make<bedingung_rec>(bedingungs_art::WAHR)->vergleichs_wert(); },
         "CHECK_ERROR : baumwandler_package:35"},
        {"VERGLEICH wahr_wert",
         [] { (void)common::make<bedingung_rec>(bedingungs_art::VERGLEICH)->wahr_wert(); },
         "CHECK_ERROR : baumwandler_package:35"},
        {"SKIP zuweisungs_name",
         [] { (void)common::make<anweisung_rec>(anweisungs_art::SKIP)->zuweisungs_name(); },
         "CHECK_ERROR : baumwandler_package:54"},
        {"FALL erst_anweisung_schleife",
         [] { (void)common::make<anweisung_rec>(anweisungs_art::FALL)->erst_anweisung_schleife(); },
         "CHECK_ERROR : baumwandler_package:54"},
        {"UNDEF zahl_wert", [] { (void)wert{}.zahl_wert(); }, "CHECK_ERROR : baumwandler_package:77"},
        {"IF_CASE teil_anw", [] { (void)common::make<teil_rec>(teil_arten::IF_CASE)->teil_anw(); },
         "CHECK_ERROR : baumwandler_package:114"},
        {"ZUW teil_bez", [] { (void)common::make<teil_rec>(teil_arten::ZUW)->teil_bez(); },
         "CHECK_ERROR : baumwandler_package:114"},
        {"WWERT teil_zwert", [] { (void)common::make<teil_rec>(teil_arten::WWERT)->teil_zwert(); },
         "CHECK_ERROR : baumwandler_package:114"},
        {"ENDE akt_zustand", [] { (void)zustand{}.akt_zustand(); }, "CHECK_ERROR : baumwandler_package:160"},
        {"AKT ende_zustand", [] { (void)zustand{konfiguration{}}.ende_zustand(); },
         "CHECK_ERROR : baumwandler_package:160"},
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
    const name_ref kopie = name;
    EXPECT_EQ(kopie.view().data(), name.view().data());
    const teil bez = common::make<teil_rec>(teil_arten::BEZ);
    bez->teil_bez() = "z";
    EXPECT_EQ(bez->teil_bez(), "z");
    EXPECT_EQ(sizeof(teil_rec), 16U);
}

TEST(Records, WhileinitErrorHasItsFullName) {
    EXPECT_EQ(whileinit_error, "BAUMWANDLER_PACKAGE.WHILEINIT_ERROR");
}

}  // namespace
