// The While abstract machine: abstract syntax, store, stacks, configurations
// and states; the conversion of the grammar tree; the environment; guarded
// arithmetic and comparisons; and the step function with its numbered rules.
//
// Every record reached through a pointer comes from the arena and lives as
// long as the stretch of the program that built it (a run of the machine, an
// activation of velkor): records are trivially destructible, so a scope can
// give them back whole. Variant records carry their kind in `form`; touching
// a field of another kind raises the check error at the record type's fixed
// place (places below): a line number that the report names, not where the
// type stands in this file (see common/errors.hpp).
#pragma once

#include <array>
#include <concepts>
#include <cstdint>
#include <memory>
#include <string_view>
#include <type_traits>

#include "common/errors.hpp"
#include "common/rows.hpp"
#include "common/textio.hpp"
#include "frontend/comtypes.hpp"

namespace baumwandler_package {

inline constexpr std::string_view module_name = "baumwandler_package";

// The error that stands for a failed machine step, by its full name. The
// trace drivers raise it; velkor's main procedure catches it.
inline constexpr std::string_view whileinit_error = "BAUMWANDLER_PACKAGE.WHILEINIT_ERROR";

// ---- Kinds ----

enum class ausdrucks_art : std::uint8_t { ZAHL, NAME, VERKN };
enum class bedingungs_art : std::uint8_t { WAHR, VERGLEICH };
enum class anweisungs_art : std::uint8_t { FALL, SCHLEIFE, SKIP, ZUWEISUNG };
// The arithmetic operators and the comparisons are declared below, with
// their tables.
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

// Each list below is the one place of its values: ROW(value, text, leaf
// texts...) makes the enumerator, its row of the table and its count, so a
// value cannot lack its row or stand in another place.

// The arithmetic operators; `operator` is a C++ keyword, hence the underscore.
#define BAUMWANDLER_OPERATORS(ROW)  \
    ROW(PLUS, "+", "+")             \
    ROW(MINUS, "-", "-")            \
    ROW(MAL, "*", "*")              \
    ROW(DIV, "`div`", "div", "Div") \
    ROW(MODULO, "`mod`", "mod")

// The comparisons. No leaf text names GG: ">=", the one comparison text
// left, falls to it.
#define BAUMWANDLER_COMPARISONS(ROW) \
    ROW(KL, "<", "<")                \
    ROW(GL, "=", "=")                \
    ROW(GR, ">", ">")                \
    ROW(KG, "<=", "<=")              \
    ROW(UG, "/=", "/=")              \
    ROW(GG, ">=")

enum class operator_ : std::uint8_t { BAUMWANDLER_OPERATORS(COMMON_ROW_VALUE) };
inline constexpr std::size_t operator_count = common::row_count({BAUMWANDLER_OPERATORS(COMMON_ROW_COUNT)});
inline constexpr symbol_row<operator_> operator_rows[] = {
#define BAUMWANDLER_OPERATOR_ROW(value, text, ...) {operator_::value, text, {__VA_ARGS__}},
    BAUMWANDLER_OPERATORS(BAUMWANDLER_OPERATOR_ROW)
#undef BAUMWANDLER_OPERATOR_ROW
};
static_assert(common::one_row_per_value(operator_rows, &symbol_row<operator_>::value, operator_count),
              "one row per operator, in the order of operator_");

enum class vergleicher : std::uint8_t { BAUMWANDLER_COMPARISONS(COMMON_ROW_VALUE) };
inline constexpr std::size_t comparison_count =
    common::row_count({BAUMWANDLER_COMPARISONS(COMMON_ROW_COUNT)});
inline constexpr symbol_row<vergleicher> comparison_rows[] = {
#define BAUMWANDLER_COMPARISON_ROW(value, text, ...) {vergleicher::value, text, {__VA_ARGS__}},
    BAUMWANDLER_COMPARISONS(BAUMWANDLER_COMPARISON_ROW)
#undef BAUMWANDLER_COMPARISON_ROW
};
static_assert(common::one_row_per_value(comparison_rows, &symbol_row<vergleicher>::value, comparison_count),
              "one row per comparison, in the order of vergleicher");

#undef BAUMWANDLER_OPERATORS
#undef BAUMWANDLER_COMPARISONS

// ---- Fixed error places ----

// The places that this module's errors name: fixed line numbers that the
// reports show, kept whatever becomes of this file's layout.
namespace places {
// A field of another kind, one place per record type.
inline constexpr common::place ausdruck_rec{module_name, 20};
inline constexpr common::place bedingung_rec{module_name, 35};
inline constexpr common::place anweisung_rec{module_name, 54};
inline constexpr common::place wert{module_name, 77};
inline constexpr common::place teil_rec{module_name, 114};
inline constexpr common::place zustand{module_name, 160};
// rechne_op and rechne_rel_op: a result beyond 32 bits or a forbidden
// division, by operator; a value outside the enumeration.
inline constexpr common::place plus{module_name, 277};
inline constexpr common::place minus{module_name, 279};
inline constexpr common::place mal{module_name, 281};
inline constexpr common::place div{module_name, 283};
inline constexpr common::place modulo{module_name, 285};
inline constexpr common::place no_operator{module_name, 276};
inline constexpr common::place no_comparison{module_name, 296};
// The conversion: a number of the program beyond 32 bits.
inline constexpr common::place number_beyond_32_bits{module_name, 33};
}  // namespace places

namespace detail {
// field returns `value` when the record's kind has the field (`present`),
// and raises the check error naming the record's `guard` otherwise: the one
// guard of every variant field.
template <class T>
T& field(T& value, bool present, common::place guard) {
    common::check(present, guard);
    return value;
}
}  // namespace detail

// BAUMWANDLER_VARIANT_FIELD declares the variant field `name` of type `Type`
// that a record has when its kind `form` is `kind`: the storage `name_` in
// the record itself, and the accessor `name()`, for const and non-const
// records, that guards it with the record's place `guard`.
#define BAUMWANDLER_VARIANT_FIELD(Type, name, kind)         \
    BAUMWANDLER_GUARDED_ACCESSOR(Type, name, kind, name##_) \
                                                            \
private:                                                    \
    Type name##_{};                                         \
                                                            \
public:

// The accessor `name()` of a field kept in `storage`, for const and
// non-const records, guarded with the record's place `guard`.
#define BAUMWANDLER_GUARDED_ACCESSOR(Type, name, kind, storage) \
    Type& name() {                                              \
        return detail::field(storage, form == (kind), guard);   \
    }                                                           \
    [[nodiscard]] const Type& name() const {                    \
        return detail::field(storage, form == (kind), guard);   \
    }

// A record whose kinds each have at most one field keeps them in one union
// `field_`, and lists them as rows FIELD(Type, name, kind). Each row gives
// the accessor (BAUMWANDLER_SHARED_FIELD, guarded as above), the union's
// member (BAUMWANDLER_UNION_MEMBER) and, in the constructor, the start of
// the member of the record's own kind (BAUMWANDLER_START_FIELD), so that a
// new record has its field null, empty or zero.
#define BAUMWANDLER_SHARED_FIELD(Type, name, kind) BAUMWANDLER_GUARDED_ACCESSOR(Type, name, kind, field_.name)
#define BAUMWANDLER_UNION_MEMBER(Type, name, kind) Type name;
#define BAUMWANDLER_START_FIELD(Type, name, kind) \
    if (form == (kind)) {                         \
        std::construct_at(&field_.name);          \
    }

// ---- Names ----

// name_ref is a name of the While program (a variable, an assignment's
// target), held by one pointer: the text is copied once into the arena,
// where it lives as long as the records that hold it; copying a name_ref
// shares that text. The default is the empty name. A name_ref is made from
// any text (a literal, a view of a leaf's text), which is then copied.
class name_ref {
public:
    name_ref() = default;
    template <class Text>
    requires(std::convertible_to<const Text&, std::string_view> &&
             !std::same_as<std::remove_cvref_t<Text>, name_ref>) name_ref(const Text& text)
        : text_(copy_of(text)) {}  // implicit, as from a text to a string

    [[nodiscard]] std::string_view view() const { return text_ == nullptr ? std::string_view{} : *text_; }
    operator std::string_view() const { return view(); }  // reads as a text wherever one is wanted

    friend bool operator==(name_ref a, std::string_view b) { return a.view() == b; }

private:
    // copy_of returns a view in the arena of a copy of `text`, its characters
    // right behind it; null for the empty text.
    static const std::string_view* copy_of(std::string_view text);

    const std::string_view* text_ = nullptr;
};

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

// record_id is the identity of a record of a converted program. The
// conversion numbers every expression, condition and statement-list cell it
// makes, counting from 1 over the whole process, so that no two records share
// a number, whichever conversion made them and wherever the arena put them;
// 0 is a record that no conversion made (built by hand). These records never
// change once made, so whatever is learnt of one holds, by its number, for as
// long as it lives. Statements have none: a statement is known by its parts,
// and rule 16 makes one on every turn of a loop.
using record_id = std::uint64_t;

// ausdruck_rec is an expression: a number (ZAHL), a variable (NAME), or an
// operator applied to two operands (VERKN).
struct ausdruck_rec {
    static constexpr common::place guard = places::ausdruck_rec;
    const ausdrucks_art form;

    const record_id id;

    explicit ausdruck_rec(ausdrucks_art kind, record_id number = 0) : form(kind), id(number) {}

    BAUMWANDLER_VARIANT_FIELD(std::int32_t, zahl_wert, ausdrucks_art::ZAHL)
    BAUMWANDLER_VARIANT_FIELD(name_ref, name_wert, ausdrucks_art::NAME)
    BAUMWANDLER_VARIANT_FIELD(operator_, operator_wert, ausdrucks_art::VERKN)
    BAUMWANDLER_VARIANT_FIELD(ausdruck, links_ausdruck, ausdrucks_art::VERKN)
    BAUMWANDLER_VARIANT_FIELD(ausdruck, rechts_ausdruck, ausdrucks_art::VERKN)
};

// bedingung_rec is a condition: a truth value (WAHR) or a comparison of two
// expressions (VERGLEICH).
struct bedingung_rec {
    static constexpr common::place guard = places::bedingung_rec;
    const bedingungs_art form;

    const record_id id;

    explicit bedingung_rec(bedingungs_art kind, record_id number = 0) : form(kind), id(number) {}

    BAUMWANDLER_VARIANT_FIELD(bool, wahr_wert, bedingungs_art::WAHR)
    BAUMWANDLER_VARIANT_FIELD(vergleicher, vergleichs_wert, bedingungs_art::VERGLEICH)
    BAUMWANDLER_VARIANT_FIELD(ausdruck, links_ausdruck, bedingungs_art::VERGLEICH)
    BAUMWANDLER_VARIANT_FIELD(ausdruck, rechts_ausdruck, bedingungs_art::VERGLEICH)
};

// anweisung_rec is a statement: if-then-else (FALL), a while loop
// (SCHLEIFE), skip (SKIP, no field) or an assignment (ZUWEISUNG).
struct anweisung_rec {
    static constexpr common::place guard = places::anweisung_rec;
    const anweisungs_art form;

    explicit anweisung_rec(anweisungs_art kind) : form(kind) {}

    BAUMWANDLER_VARIANT_FIELD(bedingung, bedingungs_wert_fall, anweisungs_art::FALL)
    BAUMWANDLER_VARIANT_FIELD(anweisung_f, erst_anweisung_fall, anweisungs_art::FALL)
    BAUMWANDLER_VARIANT_FIELD(anweisung_f, zweit_anweisung_fall, anweisungs_art::FALL)
    BAUMWANDLER_VARIANT_FIELD(bedingung, bedingungs_wert_schleife, anweisungs_art::SCHLEIFE)
    BAUMWANDLER_VARIANT_FIELD(anweisung_f, erst_anweisung_schleife, anweisungs_art::SCHLEIFE)
    BAUMWANDLER_VARIANT_FIELD(name_ref, zuweisungs_name, anweisungs_art::ZUWEISUNG)
    BAUMWANDLER_VARIANT_FIELD(ausdruck, links_ausdruck, anweisungs_art::ZUWEISUNG)
};

// anweisung_f_rec is one cell of a statement list, in program order.
struct anweisung_f_rec {
    anweisung anw = nullptr;
    anweisung_f rest = nullptr;
    const record_id id = 0;

    anweisung_f_rec() = default;
    explicit anweisung_f_rec(anweisung a, anweisung_f r = nullptr, record_id number = 0)
        : anw(a), rest(r), id(number) {}
};

// ---- Store ----

// wert is a value, held by value: UNDEF by default, or DEF_WERT with its
// number. Assigning a whole wert changes its kind.
struct wert {
    static constexpr common::place guard = places::wert;
    wert_art form = wert_art::UNDEF;

    wert() = default;
    // A defined value holding `number`.
    explicit wert(std::int32_t number) : form(wert_art::DEF_WERT), zahl_wert_(number) {}

    BAUMWANDLER_VARIANT_FIELD(std::int32_t, zahl_wert, wert_art::DEF_WERT)
};

// variable is one entry of the store: a name and its value.
struct variable {
    name_ref variable_name;
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
    name_ref variable_name;
    wert variable_wert;
    variablen variable_next = nullptr;
};

// ---- Stacks ----

// teil_rec is a stack part: its kind and its one field, a pointer, a name or
// a number, in 16 bytes; the markers IF_CASE, DO_CASE and ZUW have none.
// Almost every step pushes parts, so their size is the machine's memory.
#define BAUMWANDLER_TEIL_FIELDS(FIELD)                 \
    FIELD(anweisung, teil_anw, teil_arten::ANW)        \
    FIELD(anweisung_f, teil_anw_f, teil_arten::ANW_F)  \
    FIELD(bedingung, teil_bed, teil_arten::BED)        \
    FIELD(ausdruck, teil_ausdr, teil_arten::AUSDR)     \
    FIELD(name_ref, teil_bez, teil_arten::BEZ)         \
    FIELD(std::int32_t, teil_zwert, teil_arten::ZWERT) \
    FIELD(bool, teil_wwert, teil_arten::WWERT)         \
    FIELD(operator_, teil_op, teil_arten::OP)          \
    FIELD(vergleicher, teil_rop, teil_arten::ROP)

// clang-format off
struct teil_rec {
    static constexpr common::place guard = places::teil_rec;
    const teil_arten form;

    explicit teil_rec(teil_arten kind) : form(kind) {
        BAUMWANDLER_TEIL_FIELDS(BAUMWANDLER_START_FIELD)
    }

    BAUMWANDLER_TEIL_FIELDS(BAUMWANDLER_SHARED_FIELD)

private:
    union {
        BAUMWANDLER_TEIL_FIELDS(BAUMWANDLER_UNION_MEMBER)
    } field_{};
};
// clang-format on
static_assert(sizeof(teil_rec) == 16, "a part is its kind and one pointer, name or number");

#undef BAUMWANDLER_TEIL_FIELDS

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
    static constexpr common::place guard = places::zustand;
    zustand_arten form = zustand_arten::ENDE;

    zustand() = default;
    // An active state holding `k`.
    explicit zustand(konfiguration k) : form(zustand_arten::AKT), akt_zustand_(k) {}

    BAUMWANDLER_VARIANT_FIELD(umgebung, ende_zustand, zustand_arten::ENDE)
    BAUMWANDLER_VARIANT_FIELD(konfiguration, akt_zustand, zustand_arten::AKT)
};

#undef BAUMWANDLER_VARIANT_FIELD
#undef BAUMWANDLER_SHARED_FIELD
#undef BAUMWANDLER_UNION_MEMBER
#undef BAUMWANDLER_START_FIELD

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
// an assignment's target counting after its right side. The presence test
// of wert_suche is kept as a set of the names present, so the walk costs
// time linear in the tree and the list.
umgebung var_tupel(comtypes::grbaum gr, umgebung var_liste);

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
// division raise the check error at the operator's place: DIV
// truncates toward zero, MODULO takes the sign of z2.
std::int32_t rechne_op(operator_ op, std::int32_t z1, std::int32_t z2);

// rechne_rel_op returns z1 compared with z2 by `rop`, signed.
bool rechne_rel_op(vergleicher rop, std::int32_t z1, std::int32_t z2);

// ---- The step ----

// The rules that a step can fire and the end of a run, one row each:
// ROW(rule, line) makes the enumerator, the line that a step writes for it
// and the count. The lines are what a trace shows of its steps; the tests
// hold the README's table of them against these rows. The line end goes to
// the writer on its own: a write that fails at it names the line end's call.
#define BAUMWANDLER_RULES(ROW)                                    \
    ROW(R1, "-- (1 : Zahl lesen) --")                             \
    ROW(R2, "-- (2 : Variable lesen, Wert aus Umgebung)--")       \
    ROW(R3, "-- (3 : Verknuepfung aufloesen)--")                  \
    ROW(R4, "-- (4 : Arithmetische Operation)--")                 \
    ROW(R5, "-- (5 : Wahrheitswert lesen)--")                     \
    ROW(R6, "-- (6 : Bedingung aufloesen)--")                     \
    ROW(R7, "-- (7 : Vergleichsoperation)--")                     \
    ROW(R8, "-- (8 : Skipanweisung)--")                           \
    ROW(R9, "-- (9 : Zuweisung aufloesen)--")                     \
    ROW(R10, "-- (10 : Zuweisung ausfuehren)--")                  \
    ROW(R11, "-- (11 : nichtleere Anweisungsfolge aufloesen)--")  \
    ROW(R11_LEER, "-- (11' : leere Anweisungsfolge aufloesen)--") \
    ROW(R12, "-- (12 : If-Anweisung aufloesen)--")                \
    ROW(R13, "-- (13 : If-Anweisung True-Fall)--")                \
    ROW(R14, "-- (14 : If-Anweisung False-Fall)--")               \
    ROW(R15, "-- (15 : Schleife aufloesen)--")                    \
    ROW(R16, "-- (16 : Schleifenbedingung True)--")               \
    ROW(R17, "-- (17 : Schleifenbedingung False)--")              \
    ROW(ENDE, "-- (Ende der Auswertung)--")

enum class rule : std::uint8_t { BAUMWANDLER_RULES(COMMON_ROW_VALUE) };
inline constexpr std::size_t rule_count = common::row_count({BAUMWANDLER_RULES(COMMON_ROW_COUNT)});

struct rule_row {
    rule value;
    std::string_view line;
};

inline constexpr rule_row rule_rows[] = {
#define BAUMWANDLER_RULE(value, line) {rule::value, line},
    BAUMWANDLER_RULES(BAUMWANDLER_RULE)
#undef BAUMWANDLER_RULE
};
static_assert(common::one_row_per_value(rule_rows, &rule_row::value, rule_count),
              "one row per rule, in the order of rule");

#undef BAUMWANDLER_RULES

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
