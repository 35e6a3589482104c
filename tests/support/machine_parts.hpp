// Parts of the While machine built by hand or from program text: statements,
// expressions and conditions, stack parts and stacks, start states.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/arena.hpp"
#include "machine/baumwandler_package.hpp"
#include "tests/support/while_tree.hpp"
#include "trace/machetrace.hpp"

namespace test_support {

namespace bp = baumwandler_package;

// ---- Records from program text ----

// statements returns the converted statement list of a program text.
inline bp::anweisung_f statements(std::string_view program) {
    return bp::baum_wandler(grammar_tree(program))->t->teil_anw_f();
}

// first_statement returns the first statement of a program text, converted.
inline bp::anweisung first_statement(std::string_view program) {
    return statements(program)->anw;
}

// expression returns the converted expression of a text such as "(x + 1)".
inline bp::ausdruck expression(std::string_view text) {
    return first_statement("x := " + std::string(text))->links_ausdruck();
}

// condition returns the converted condition of a text such as "x > 0".
inline bp::bedingung condition(std::string_view text) {
    return first_statement("while " + std::string(text) + " do skip od")->bedingungs_wert_schleife();
}

// ---- Records that no program text holds ----

// number returns the expression of the number n, negative ones included.
inline bp::ausdruck number(std::int32_t n) {
    const bp::ausdruck e = common::make<bp::ausdruck_rec>(bp::ausdrucks_art::ZAHL);
    e->zahl_wert() = n;
    return e;
}

// truth returns the truth-value condition v.
inline bp::bedingung truth(bool v) {
    const bp::bedingung b = common::make<bp::bedingung_rec>(bp::bedingungs_art::WAHR);
    b->wahr_wert() = v;
    return b;
}

// ---- Stack parts and stacks ----

// push returns the stack `rest` with `t` on top, as the machine pushes.
inline bp::teile push(bp::teil t, bp::teile rest = nullptr) {
    return common::make<bp::teile_rec>(t, rest);
}

// part returns a new stack part of kind `kind`, its field left as made.
inline bp::teil part(bp::teil_arten kind) {
    return common::make<bp::teil_rec>(kind);
}

// part_with returns a new part of kind `kind` whose one field `fill` sets.
template <class Fill>
bp::teil part_with(bp::teil_arten kind, Fill fill) {
    const bp::teil t = part(kind);
    fill(*t);
    return t;
}

inline bp::teil anw(bp::anweisung s) {
    return part_with(bp::teil_arten::ANW, [=](bp::teil_rec& t) { t.teil_anw() = s; });
}
inline bp::teil anw_f(bp::anweisung_f l) {
    return part_with(bp::teil_arten::ANW_F, [=](bp::teil_rec& t) { t.teil_anw_f() = l; });
}
inline bp::teil bed(bp::bedingung b) {
    return part_with(bp::teil_arten::BED, [=](bp::teil_rec& t) { t.teil_bed() = b; });
}
inline bp::teil ausdr(bp::ausdruck e) {
    return part_with(bp::teil_arten::AUSDR, [=](bp::teil_rec& t) { t.teil_ausdr() = e; });
}
inline bp::teil bez(std::string_view x) {
    return part_with(bp::teil_arten::BEZ, [=](bp::teil_rec& t) { t.teil_bez() = x; });
}
inline bp::teil zwert(std::int32_t n) {
    return part_with(bp::teil_arten::ZWERT, [=](bp::teil_rec& t) { t.teil_zwert() = n; });
}
inline bp::teil wwert(bool v) {
    return part_with(bp::teil_arten::WWERT, [=](bp::teil_rec& t) { t.teil_wwert() = v; });
}
inline bp::teil op(bp::operator_ o) {
    return part_with(bp::teil_arten::OP, [=](bp::teil_rec& t) { t.teil_op() = o; });
}
inline bp::teil rop(bp::vergleicher r) {
    return part_with(bp::teil_arten::ROP, [=](bp::teil_rec& t) { t.teil_rop() = r; });
}

// ---- States ----

// start returns the start state of a run of a program text, the trace
// drivers' own.
inline bp::zustand start(std::string_view program) {
    return bp::start_state(grammar_tree(program));
}

// active returns the active state of the configuration <<um, wk, zk>>.
inline bp::zustand active(bp::umgebung um, bp::teile wk, bp::teile zk) {
    return bp::zustand{bp::konfiguration{um, wk, zk}};
}

}  // namespace test_support
