// The While abstract machine: abstract syntax, store, stacks, configurations
// and states; the conversion of the grammar tree; the environment; guarded
// arithmetic and comparisons; and the step function with its numbered rules.
//
// Every record reached through a pointer comes from the arena and lives until
// the program ends. Variant records carry their kind in `form`; touching a
// field of another kind raises the check error naming the line of the type's
// declaration in this module's interface.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/enum_rows.hpp"
#include "common/errors.hpp"
#include "common/textio.hpp"
#include "frontend/comtypes.hpp"

namespace baumwandler_package {

inline constexpr std::string_view modul = "baumwandler_package";

// The error that stands for a failed machine step, by its full name. The
// trace drivers raise it; velkor's main procedure catches it.
inline constexpr std::string_view whileinit_error = "BAUMWANDLER_PACKAGE.WHILEINIT_ERROR";

// Interface lines named by the variant-field guards of each record type.
inline constexpr int ausdruck_zeile = 20;
inline constexpr int bedingung_zeile = 35;
inline constexpr int anweisung_zeile = 54;
inline constexpr int wert_zeile = 77;
inline constexpr int teil_zeile = 114;
inline constexpr int zustand_zeile = 160;

namespace detail {
// feld returns `field` when the record's kind has it, and raises the check
// error naming `zeile` otherwise. The one guard of every variant field.
template <class T>
T& feld(T& field, bool present, int zeile) {
    common::check(present, common::place{modul, zeile});
    return field;
}
}  // namespace detail

// ---- Kinds ----

enum class ausdrucks_art : std::uint8_t { ZAHL, NAME, VERKN };
enum class bedingungs_art : std::uint8_t { WAHR, VERGLEICH };
enum class anweisungs_art : std::uint8_t { FALL, SCHLEIFE, SKIP, ZUWEISUNG };
// The arithmetic operators; `operator` is a C++ keyword, hence the underscore.
enum class operator_ : std::uint8_t { PLUS, MINUS, MAL, DIV, MODULO };
enum class vergleicher : std::uint8_t { KL, GL, GR, KG, UG, GG };
enum class wert_art : std::uint8_t { UNDEF, DEF_WERT };
enum class teil_arten : std::uint8_t {
    ANW,
    ANW_F,
    BED,
    AUSDR,
    BEZ,
    ZWERT,
    WWERT,
    OP,
    ROP,
    IF_CASE,
    DO_CASE,
    ZUW
};
enum class zustand_arten : std::uint8_t { ENDE, AKT };

// ---- Operators and comparisons: one row per value ----

// A row of the operator or the comparison table: the value's text in a
// configuration line (zeige_op, zeige_vergl), and the texts of a leaf of the
// grammar tree that convert to it (opt_wandler, ropt_wandler), an empty slot
// being unused.
template <class Enum>
struct symbol_row {
    Enum value;
    std::string_view text;
    std::array<std::string_view, 2> leaf_texts;
};

inline constexpr std::array<symbol_row<operator_>, common::count_of(operator_::MODULO)> operator_rows{{
    {operator_::PLUS, "+", {"+"}},
    {operator_::MINUS, "-", {"-"}},
    {operator_::MAL, "*", {"*"}},
    {operator_::DIV, "`div`", {"div", "Div"}},
    {operator_::MODULO, "`mod`", {"mod"}},
}};
static_assert(common::rows_in_order(operator_rows), "one row per operator, in the order of operator_");

// No leaf text names GG: ">=", the one comparison text left, falls to it.
inline constexpr std::array<symbol_row<vergleicher>, common::count_of(vergleicher::GG)> comparison_rows{{
    {vergleicher::KL, "<", {"<"}},
    {vergleicher::GL, "=", {"="}},
    {vergleicher::GR, ">", {">"}},
    {vergleicher::KG, "<=", {"<="}},
    {vergleicher::UG, "/=", {"/="}},
    {vergleicher::GG, ">=", {}},
}};
static_assert(common::rows_in_order(comparison_rows), "one row per comparison, in the order of vergleicher");

// ---- Pointer types (null: none, the empty list, the empty stack) ----

struct ausdruck_rec;
struct bedingung_rec;
struct anweisung_rec;
struct anweisung_f_rec;
struct umgebung_rec;
struct variable_rec;
struct teil_rec;
struct teile_rec;

using ausdruck = ausdruck_rec*;
using bedingung = bedingung_rec*;
using anweisung = anweisung_rec*;
using anweisung_f = anweisung_f_rec*;
using umgebung = umgebung_rec*;
using variablen = variable_rec*;
using teil = teil_rec*;
using teile = teile_rec*;

// ---- Abstract syntax ----

// ausdruck_rec is an expression: a number (ZAHL), a variable (NAME), or an
// operator applied to two operands (VERKN).
struct ausdruck_rec {
    const ausdrucks_art form;

    explicit ausdruck_rec(ausdrucks_art kind) : form(kind) {}

    std::int32_t& zahl_wert() {
        return detail::feld(zahl_wert_, form == ausdrucks_art::ZAHL, ausdruck_zeile);
    }
    [[nodiscard]] const std::int32_t& zahl_wert() const {
        return detail::feld(zahl_wert_, form == ausdrucks_art::ZAHL, ausdruck_zeile);
    }
    std::string& name_wert() { return detail::feld(name_wert_, form == ausdrucks_art::NAME, ausdruck_zeile); }
    [[nodiscard]] const std::string& name_wert() const {
        return detail::feld(name_wert_, form == ausdrucks_art::NAME, ausdruck_zeile);
    }
    operator_& operator_wert() {
        return detail::feld(operator_wert_, form == ausdrucks_art::VERKN, ausdruck_zeile);
    }
    [[nodiscard]] const operator_& operator_wert() const {
        return detail::feld(operator_wert_, form == ausdrucks_art::VERKN, ausdruck_zeile);
    }
    ausdruck& links_ausdruck() { return detail::feld(links_, form == ausdrucks_art::VERKN, ausdruck_zeile); }
    [[nodiscard]] const ausdruck& links_ausdruck() const {
        return detail::feld(links_, form == ausdrucks_art::VERKN, ausdruck_zeile);
    }
    ausdruck& rechts_ausdruck() {
        return detail::feld(rechts_, form == ausdrucks_art::VERKN, ausdruck_zeile);
    }
    [[nodiscard]] const ausdruck& rechts_ausdruck() const {
        return detail::feld(rechts_, form == ausdrucks_art::VERKN, ausdruck_zeile);
    }

private:
    std::int32_t zahl_wert_ = 0;
    std::string name_wert_;
    operator_ operator_wert_ = operator_::PLUS;
    ausdruck links_ = nullptr;
    ausdruck rechts_ = nullptr;
};

// bedingung_rec is a condition: a truth value (WAHR) or a comparison of two
// expressions (VERGLEICH).
struct bedingung_rec {
    const bedingungs_art form;

    explicit bedingung_rec(bedingungs_art kind) : form(kind) {}

    bool& wahr_wert() { return detail::feld(wahr_wert_, form == bedingungs_art::WAHR, bedingung_zeile); }
    [[nodiscard]] const bool& wahr_wert() const {
        return detail::feld(wahr_wert_, form == bedingungs_art::WAHR, bedingung_zeile);
    }
    vergleicher& vergleichs_wert() {
        return detail::feld(vergleichs_wert_, form == bedingungs_art::VERGLEICH, bedingung_zeile);
    }
    [[nodiscard]] const vergleicher& vergleichs_wert() const {
        return detail::feld(vergleichs_wert_, form == bedingungs_art::VERGLEICH, bedingung_zeile);
    }
    ausdruck& links_ausdruck() {
        return detail::feld(links_, form == bedingungs_art::VERGLEICH, bedingung_zeile);
    }
    [[nodiscard]] const ausdruck& links_ausdruck() const {
        return detail::feld(links_, form == bedingungs_art::VERGLEICH, bedingung_zeile);
    }
    ausdruck& rechts_ausdruck() {
        return detail::feld(rechts_, form == bedingungs_art::VERGLEICH, bedingung_zeile);
    }
    [[nodiscard]] const ausdruck& rechts_ausdruck() const {
        return detail::feld(rechts_, form == bedingungs_art::VERGLEICH, bedingung_zeile);
    }

private:
    bool wahr_wert_ = false;
    vergleicher vergleichs_wert_ = vergleicher::KL;
    ausdruck links_ = nullptr;
    ausdruck rechts_ = nullptr;
};

// anweisung_rec is a statement: if-then-else (FALL), a while loop
// (SCHLEIFE), skip (SKIP, no field) or an assignment (ZUWEISUNG).
struct anweisung_rec {
    const anweisungs_art form;

    explicit anweisung_rec(anweisungs_art kind) : form(kind) {}

    bedingung& bedingungs_wert_fall() {
        return detail::feld(bed_fall_, is(anweisungs_art::FALL), anweisung_zeile);
    }
    [[nodiscard]] const bedingung& bedingungs_wert_fall() const {
        return detail::feld(bed_fall_, is(anweisungs_art::FALL), anweisung_zeile);
    }
    anweisung_f& erst_anweisung_fall() {
        return detail::feld(erst_fall_, is(anweisungs_art::FALL), anweisung_zeile);
    }
    [[nodiscard]] const anweisung_f& erst_anweisung_fall() const {
        return detail::feld(erst_fall_, is(anweisungs_art::FALL), anweisung_zeile);
    }
    anweisung_f& zweit_anweisung_fall() {
        return detail::feld(zweit_fall_, is(anweisungs_art::FALL), anweisung_zeile);
    }
    [[nodiscard]] const anweisung_f& zweit_anweisung_fall() const {
        return detail::feld(zweit_fall_, is(anweisungs_art::FALL), anweisung_zeile);
    }
    bedingung& bedingungs_wert_schleife() {
        return detail::feld(bed_schleife_, is(anweisungs_art::SCHLEIFE), anweisung_zeile);
    }
    [[nodiscard]] const bedingung& bedingungs_wert_schleife() const {
        return detail::feld(bed_schleife_, is(anweisungs_art::SCHLEIFE), anweisung_zeile);
    }
    anweisung_f& erst_anweisung_schleife() {
        return detail::feld(erst_schleife_, is(anweisungs_art::SCHLEIFE), anweisung_zeile);
    }
    [[nodiscard]] const anweisung_f& erst_anweisung_schleife() const {
        return detail::feld(erst_schleife_, is(anweisungs_art::SCHLEIFE), anweisung_zeile);
    }
    std::string& zuweisungs_name() {
        return detail::feld(name_, is(anweisungs_art::ZUWEISUNG), anweisung_zeile);
    }
    [[nodiscard]] const std::string& zuweisungs_name() const {
        return detail::feld(name_, is(anweisungs_art::ZUWEISUNG), anweisung_zeile);
    }
    ausdruck& links_ausdruck() {
        return detail::feld(ausdruck_, is(anweisungs_art::ZUWEISUNG), anweisung_zeile);
    }
    [[nodiscard]] const ausdruck& links_ausdruck() const {
        return detail::feld(ausdruck_, is(anweisungs_art::ZUWEISUNG), anweisung_zeile);
    }

private:
    [[nodiscard]] bool is(anweisungs_art kind) const { return form == kind; }

    bedingung bed_fall_ = nullptr;
    anweisung_f erst_fall_ = nullptr;
    anweisung_f zweit_fall_ = nullptr;
    bedingung bed_schleife_ = nullptr;
    anweisung_f erst_schleife_ = nullptr;
    std::string name_;
    ausdruck ausdruck_ = nullptr;
};

// anweisung_f_rec is one cell of a statement list, in program order.
struct anweisung_f_rec {
    anweisung anw = nullptr;
    anweisung_f rest = nullptr;
};

// ---- Store ----

// wert is a value, held by value: UNDEF by default, or DEF_WERT with its
// number. Assigning a whole wert changes its kind.
struct wert {
    wert_art form = wert_art::UNDEF;

    wert() = default;
    // A defined value holding `zahl`.
    explicit wert(std::int32_t zahl) : form(wert_art::DEF_WERT), zahl_wert_(zahl) {}

    std::int32_t& zahl_wert() { return detail::feld(zahl_wert_, form == wert_art::DEF_WERT, wert_zeile); }
    [[nodiscard]] const std::int32_t& zahl_wert() const {
        return detail::feld(zahl_wert_, form == wert_art::DEF_WERT, wert_zeile);
    }

private:
    std::int32_t zahl_wert_ = 0;
};

// variable is one entry of the store: a name and its value.
struct variable {
    std::string variable_name;
    wert variable_wert;
};

// umgebung_rec is one cell of the environment; lookups and updates use the
// first entry with a given name.
struct umgebung_rec {
    variable elem;
    umgebung next = nullptr;
};

// variable_rec is declared beside variable for completeness; no operation
// creates or reads it.
struct variable_rec {
    std::string variable_name;
    wert variable_wert;
    variablen variable_next = nullptr;
};

// ---- Stacks ----

// teil_rec is a stack part. Its kind selects its one field; the markers
// IF_CASE, DO_CASE and ZUW have none.
struct teil_rec {
    const teil_arten form;

    explicit teil_rec(teil_arten kind) : form(kind) {}

    anweisung& teil_anw() { return detail::feld(anw_, is(teil_arten::ANW), teil_zeile); }
    [[nodiscard]] const anweisung& teil_anw() const {
        return detail::feld(anw_, is(teil_arten::ANW), teil_zeile);
    }
    anweisung_f& teil_anw_f() { return detail::feld(anw_f_, is(teil_arten::ANW_F), teil_zeile); }
    [[nodiscard]] const anweisung_f& teil_anw_f() const {
        return detail::feld(anw_f_, is(teil_arten::ANW_F), teil_zeile);
    }
    bedingung& teil_bed() { return detail::feld(bed_, is(teil_arten::BED), teil_zeile); }
    [[nodiscard]] const bedingung& teil_bed() const {
        return detail::feld(bed_, is(teil_arten::BED), teil_zeile);
    }
    ausdruck& teil_ausdr() { return detail::feld(ausdr_, is(teil_arten::AUSDR), teil_zeile); }
    [[nodiscard]] const ausdruck& teil_ausdr() const {
        return detail::feld(ausdr_, is(teil_arten::AUSDR), teil_zeile);
    }
    std::string& teil_bez() { return detail::feld(bez_, is(teil_arten::BEZ), teil_zeile); }
    [[nodiscard]] const std::string& teil_bez() const {
        return detail::feld(bez_, is(teil_arten::BEZ), teil_zeile);
    }
    std::int32_t& teil_zwert() { return detail::feld(zwert_, is(teil_arten::ZWERT), teil_zeile); }
    [[nodiscard]] const std::int32_t& teil_zwert() const {
        return detail::feld(zwert_, is(teil_arten::ZWERT), teil_zeile);
    }
    bool& teil_wwert() { return detail::feld(wwert_, is(teil_arten::WWERT), teil_zeile); }
    [[nodiscard]] const bool& teil_wwert() const {
        return detail::feld(wwert_, is(teil_arten::WWERT), teil_zeile);
    }
    operator_& teil_op() { return detail::feld(op_, is(teil_arten::OP), teil_zeile); }
    [[nodiscard]] const operator_& teil_op() const {
        return detail::feld(op_, is(teil_arten::OP), teil_zeile);
    }
    vergleicher& teil_rop() { return detail::feld(rop_, is(teil_arten::ROP), teil_zeile); }
    [[nodiscard]] const vergleicher& teil_rop() const {
        return detail::feld(rop_, is(teil_arten::ROP), teil_zeile);
    }

private:
    [[nodiscard]] bool is(teil_arten kind) const { return form == kind; }

    anweisung anw_ = nullptr;
    anweisung_f anw_f_ = nullptr;
    bedingung bed_ = nullptr;
    ausdruck ausdr_ = nullptr;
    std::string bez_;
    std::int32_t zwert_ = 0;
    bool wwert_ = false;
    operator_ op_ = operator_::PLUS;
    vergleicher rop_ = vergleicher::KL;
};

// teile_rec is one stack cell: the part and the cell below (null under the
// bottom cell). A stack is the teile of its top cell.
struct teile_rec {
    teil t = nullptr;
    teile rest = nullptr;
};

// ---- Configuration and state ----

// konfiguration is the environment, the value stack and the control stack.
struct konfiguration {
    umgebung um = nullptr;
    teile wk = nullptr;
    teile zk = nullptr;
};

// zustand is a machine state, held by value: ENDE (the default) with the
// final environment, or AKT with a configuration.
struct zustand {
    zustand_arten form = zustand_arten::ENDE;

    zustand() = default;
    // An active state holding `k`.
    explicit zustand(konfiguration k) : form(zustand_arten::AKT), akt_zustand_(k) {}

    umgebung& ende_zustand() { return detail::feld(ende_, form == zustand_arten::ENDE, zustand_zeile); }
    [[nodiscard]] const umgebung& ende_zustand() const {
        return detail::feld(ende_, form == zustand_arten::ENDE, zustand_zeile);
    }
    konfiguration& akt_zustand() {
        return detail::feld(akt_zustand_, form == zustand_arten::AKT, zustand_zeile);
    }
    [[nodiscard]] const konfiguration& akt_zustand() const {
        return detail::feld(akt_zustand_, form == zustand_arten::AKT, zustand_zeile);
    }

private:
    umgebung ende_ = nullptr;
    konfiguration akt_zustand_;
};

// ---- Conversion of the grammar tree ----

// opt_wandler returns the operator of an operator leaf's text: "+", "-",
// "*", "div" or "Div", "mod"; any other text gives MODULO.
operator_ opt_wandler(std::string_view op);

// ropt_wandler returns the comparison of a comparison leaf's text: "<", "=",
// ">", "<=", "/="; any other text (">=" among them) gives GG.
vergleicher ropt_wandler(std::string_view rop);

// ausdruck_wandler converts an AUSDRUCK node by its first child: a number,
// a name, or a parenthesised operation; null for any other first child. A
// number beyond 2147483647 raises the check error. A null node, or a child
// missing where one is read, raises the check error.
ausdruck ausdruck_wandler(comtypes::grbaum baum);

// bedingung_wandler converts a BEDINGUNG node: TRUET and FALSET give a truth
// value, any other first child is the left operand of a comparison.
bedingung bedingung_wandler(comtypes::grbaum baum);

// anw_wandler converts a statement node (the only child of an ANW node);
// null for any other symbol, the ANW node itself included.
anweisung anw_wandler(comtypes::grbaum baum);

// anwf_wandler converts an ANWF node into a statement list of new cells, in
// program order.
anweisung_f anwf_wandler(comtypes::grbaum baum);

// baum_wandler returns, for a PROGRAMM root, a new stack of one cell that
// holds an ANW_F part with the program's statement list; null (the empty
// stack) for any other root. A null tree raises the check error.
teile baum_wandler(comtypes::grbaum baum);

// ---- Environment ----

// var_tupel returns `var_liste` with a new entry (name, UNDEF) in front of it
// for every NAMET name reached from `gr` (the node, what lies below it, and
// its following siblings) that `var_liste` lacks. With the root and the
// empty list it lists the names in reverse order of their first occurrence,
// an assignment's target counting after its right side.
umgebung var_tupel(comtypes::grbaum gr, umgebung var_liste);

// wert_vorhanden returns true when `umg` has an entry named `var` (the
// presence test of wert_suche).
bool wert_vorhanden(std::string_view var, umgebung umg);

// wert_suche returns a copy of the value of the first entry named `var`;
// UNDEF when there is none.
wert wert_suche(std::string_view var, umgebung umg);

// wert_eintrag stores DEF_WERT `int_wert` in the first entry named `var`, in
// place, and returns `umg`. Without such an entry it writes "error: Variable
// <var> nicht in der Umgebung" (no line end) to standard output and changes
// nothing.
umgebung wert_eintrag(std::string_view var, std::int32_t int_wert, umgebung umg);

// ist_undef returns true when `w` is UNDEF.
bool ist_undef(const wert& w);

// vard returns a new variable named "d" holding DEF_WERT 0.
variable vard();

// ---- Arithmetic and comparisons ----

// rechne_op returns z1 op z2. A result outside 32 bits and a forbidden
// division raise the check error (lines 277, 279, 281, 283, 285): DIV
// truncates toward zero, MODULO takes the sign of z2.
std::int32_t rechne_op(operator_ op, std::int32_t z1, std::int32_t z2);

// rechne_rel_op returns z1 compared with z2 by `rop`, signed.
bool rechne_rel_op(vergleicher rop, std::int32_t z1, std::int32_t z2);

// ---- The step ----

// delta2_ft performs one step of the machine on `z` and returns the next
// state. It writes one line end into `ft`, then the line of the rule that
// fires, or "-- (Ende der Auswertung)--" when the control stack is empty
// (then the result is ENDE with the environment). A failed guard raises the
// check error; what was written stays written. `z` itself is not changed;
// the records it reaches change only where the rules say (the ANW_F part on
// top, the then-cell of an if, an environment value).
zustand delta2_ft(const zustand& z, common::text_writer& ft);

// delta2 is the same step writing to standard output.
zustand delta2(const zustand& z);

}  // namespace baumwandler_package
