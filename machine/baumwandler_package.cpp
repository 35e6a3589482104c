// The While abstract machine: conversion of the grammar tree, environment,
// guarded arithmetic and the step function.
#include "machine/baumwandler_package.hpp"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "common/arena.hpp"
#include "common/arith.hpp"

namespace baumwandler_package {

namespace {

using comtypes::alphabet;
using comtypes::grbaum;

// read_number reads a run of decimal digits as a 32-bit number; a value
// beyond 2147483647 (or a text that is no digit run) raises the check error.
std::int32_t read_number(std::string_view text) {
    common::check(!text.empty(), common::here());
    std::int64_t value = 0;
    for (const char c : text) {
        common::check(c >= '0' && c <= '9', common::here());
        value = value * 10 + (c - '0');
        common::check(value <= common::int32_last, places::number_beyond_32_bits);
    }
    return static_cast<std::int32_t>(value);
}

// child returns the child of `node` at `position` (1 = the first child); a
// null node or a missing child raises the check error.
grbaum child(grbaum node, int position) {
    grbaum current = common::not_null(node, common::here())->knoten();
    for (int i = 1; i < position; ++i) {
        current = common::not_null(current, common::here())->rest;
    }
    return common::not_null(current, common::here());
}

// next_record_id returns a number that no record has had yet.
record_id next_record_id() {
    static record_id last = 0;
    return ++last;
}

}  // namespace

// ---- Names ----

const std::string_view* name_ref::copy_of(std::string_view text) {
    if (text.empty()) {
        return nullptr;
    }
    void* storage = common::arena_allocate(sizeof(std::string_view) + text.size(), alignof(std::string_view));
    char* characters = static_cast<char*>(storage) + sizeof(std::string_view);
    std::copy(text.begin(), text.end(), characters);
    return ::new (storage) std::string_view(characters, text.size());
}

// ---- Conversion of the grammar tree ----

namespace {

// leaf_value returns the value of the row that holds `text` among its leaf
// texts, or `fallback`.
template <class Enum, std::size_t N>
Enum leaf_value(const symbol_row<Enum> (&rows)[N], std::string_view text, Enum fallback) {
    for (const auto& row : rows) {
        for (const std::string_view leaf : row.leaf_texts) {
            if (!leaf.empty() && leaf == text) {
                return row.value;
            }
        }
    }
    return fallback;
}

}  // namespace

operator_ opt_wandler(std::string_view op) {
    return leaf_value(operator_rows, op, operator_::MODULO);
}

vergleicher ropt_wandler(std::string_view rop) {
    return leaf_value(comparison_rows, rop, vergleicher::GG);
}

ausdruck ausdruck_wandler(grbaum baum) {
    const grbaum first = child(baum, 1);
    switch (first->al) {
        case alphabet::ZAHLT: {
            const ausdruck e = common::make<ausdruck_rec>(ausdrucks_art::ZAHL, next_record_id());
            e->zahl_wert() = read_number(first->exp());
            return e;
        }
        case alphabet::NAMET: {
            const ausdruck e = common::make<ausdruck_rec>(ausdrucks_art::NAME, next_record_id());
            e->name_wert() = name_ref(first->exp());  // a copy: the program holds nothing of the tree
            return e;
        }
        case alphabet::AUFT: {
            const ausdruck e = common::make<ausdruck_rec>(ausdrucks_art::VERKN, next_record_id());
            e->operator_wert() = opt_wandler(child(baum, 3)->exp());
            e->links_ausdruck() = ausdruck_wandler(child(baum, 2));
            e->rechts_ausdruck() = ausdruck_wandler(child(baum, 4));
            return e;
        }
        default:
            return nullptr;
    }
}

bedingung bedingung_wandler(grbaum baum) {
    const alphabet first = child(baum, 1)->al;
    if (first == alphabet::TRUET || first == alphabet::FALSET) {
        const bedingung b = common::make<bedingung_rec>(bedingungs_art::WAHR, next_record_id());
        b->wahr_wert() = first == alphabet::TRUET;
        return b;
    }
    const bedingung b = common::make<bedingung_rec>(bedingungs_art::VERGLEICH, next_record_id());
    b->vergleichs_wert() = ropt_wandler(child(baum, 2)->exp());
    b->links_ausdruck() = ausdruck_wandler(child(baum, 1));
    b->rechts_ausdruck() = ausdruck_wandler(child(baum, 3));
    return b;
}

anweisung anw_wandler(grbaum baum) {
    switch (common::not_null(baum, common::here())->al) {
        case alphabet::ZUWEISUNG: {
            const anweisung s = common::make<anweisung_rec>(anweisungs_art::ZUWEISUNG);
            s->zuweisungs_name() = name_ref(child(baum, 1)->exp());
            s->links_ausdruck() = ausdruck_wandler(child(baum, 3));
            return s;
        }
        case alphabet::BEDINGTEANWEISUNG: {
            const anweisung s = common::make<anweisung_rec>(anweisungs_art::FALL);
            s->bedingungs_wert_fall() = bedingung_wandler(child(baum, 2));
            s->erst_anweisung_fall() = anwf_wandler(child(baum, 4));
            s->zweit_anweisung_fall() = anwf_wandler(child(baum, 6));
            return s;
        }
        case alphabet::SCHLEIFE: {
            const anweisung s = common::make<anweisung_rec>(anweisungs_art::SCHLEIFE);
            s->bedingungs_wert_schleife() = bedingung_wandler(child(baum, 2));
            s->erst_anweisung_schleife() = anwf_wandler(child(baum, 4));
            return s;
        }
        case alphabet::LEEREANWEISUNG:
            return common::make<anweisung_rec>(anweisungs_art::SKIP);
        default:
            return nullptr;
    }
}

// The list is walked in a loop, one cell per statement, so a long list costs
// no stack; only nested statements recurse.
anweisung_f anwf_wandler(grbaum baum) {
    anweisung_f list = nullptr;
    anweisung_f* end = &list;
    grbaum node = baum;
    for (;;) {
        const grbaum anw_node = child(node, 1);
        const anweisung_f cell = common::make<anweisung_f_rec>(nullptr, nullptr, next_record_id());
        cell->anw = anw_wandler(anw_node->knoten());
        *end = cell;
        end = &cell->rest;
        if (anw_node->rest == nullptr) {
            return list;
        }
        node = common::not_null(anw_node->rest->rest, common::here());  // the ANWF behind the ";"
    }
}

teile baum_wandler(grbaum baum) {
    if (common::not_null(baum, common::here())->al != alphabet::PROGRAMM) {
        return nullptr;
    }
    const teil program = common::make<teil_rec>(teil_arten::ANW_F);
    program->teil_anw_f() = anwf_wandler(child(baum, 1));
    return common::make<teile_rec>(program, nullptr);
}

// ---- Environment ----

// The walk goes along each sibling chain in a loop and keeps one frame per
// open nesting level. A chain's new names wait in its frame and go in front
// of what the chain's subtrees added once the chain ends, so the order is
// that of the recursive definition: a new name's cell stands before every
// name found after it in its chain.
umgebung var_tupel(grbaum gr, umgebung var_liste) {
    struct frame {
        grbaum node;                   // the next node of the chain
        umgebung new_cells = nullptr;  // the chain's new cells, in chain order
        umgebung last = nullptr;
    };
    // The presence test, for the names of var_liste and those entered so far.
    std::unordered_set<std::string_view> present;
    for (umgebung u = var_liste; u != nullptr; u = u->next) {
        present.insert(u->elem.variable_name.view());
    }
    umgebung list = var_liste;
    std::vector<frame> open;
    open.push_back(frame{gr});
    while (!open.empty()) {
        frame& chain = open.back();
        if (chain.node == nullptr) {
            if (chain.new_cells != nullptr) {
                chain.last->next = list;
                list = chain.new_cells;
            }
            open.pop_back();
            continue;
        }
        const grbaum node = chain.node;
        chain.node = node->rest;
        if (!comtypes::is_terminal_symbol(node->al)) {
            open.push_back(frame{node->knoten()});  // chain is not used after this
        } else if (node->al == alphabet::NAMET && !present.contains(node->exp())) {
            const umgebung cell = common::make<umgebung_rec>(variable{name_ref(node->exp()), wert{}});
            present.insert(cell->elem.variable_name.view());
            (chain.new_cells == nullptr ? chain.new_cells : chain.last->next) = cell;
            chain.last = cell;
        }
    }
    return list;
}

namespace {

// first_entry returns the cell of the first entry named `var`, or null.
umgebung first_entry(std::string_view var, umgebung umg) {
    for (umgebung u = umg; u != nullptr; u = u->next) {
        if (u->elem.variable_name == var) {
            return u;
        }
    }
    return nullptr;
}

}  // namespace

wert wert_suche(std::string_view var, umgebung umg) {
    const umgebung u = first_entry(var, umg);
    return u == nullptr ? wert{} : u->elem.variable_wert;
}

umgebung wert_eintrag(std::string_view var, std::int32_t int_wert, umgebung umg) {
    const umgebung u = first_entry(var, umg);
    if (u == nullptr) {
        common::text_writer& out = common::standard_output();
        out.put("error: Variable ");
        out.put(var);
        out.put(" nicht in der Umgebung");
        return umg;
    }
    u->elem.variable_wert = wert{int_wert};
    return umg;
}

bool ist_undef(const wert& w) {
    return w.form == wert_art::UNDEF;
}

variable vard() {
    return variable{"d", wert{0}};
}

// ---- Arithmetic and comparisons ----

std::int32_t rechne_op(operator_ op, std::int32_t z1, std::int32_t z2) {
    switch (op) {
        case operator_::PLUS:
            return common::add(z1, z2, places::plus);
        case operator_::MINUS:
            return common::subtract(z1, z2, places::minus);
        case operator_::MAL:
            return common::multiply(z1, z2, places::mal);
        case operator_::DIV:
            return common::divide(z1, z2, places::div);  // -2147483648 div -1 fails here too
        case operator_::MODULO:
            return common::modulo(z1, z2, places::modulo);  // 0 fails there; -2147483648 mod -1 is 0
    }
    common::check_failed(places::no_operator);
}

bool rechne_rel_op(vergleicher rop, std::int32_t z1, std::int32_t z2) {
    switch (rop) {
        case vergleicher::KL:
            return z1 < z2;
        case vergleicher::GL:
            return z1 == z2;
        case vergleicher::GR:
            return z1 > z2;
        case vergleicher::KG:
            return z1 <= z2;
        case vergleicher::UG:
            return z1 != z2;
        case vergleicher::GG:
            return z1 >= z2;
    }
    common::check_failed(places::no_comparison);
}

// ---- The step ----

namespace {

// A part that a rule pushes is new, and so is its cell: both are made in
// one piece. They stay two records: the cell's `t` points to the part.
struct cell_with_part {
    teil_rec part;
    teile_rec cell;

    cell_with_part(teil_arten kind, teile stack) : part(kind), cell{&part, stack} {}
};

// push returns a new cell on top of `stack` holding a new part of kind
// `kind`, whose one field `set` fills.
template <class Set>
teile push(teil_arten kind, Set set, teile stack) {
    cell_with_part* fresh = common::make<cell_with_part>(kind, stack);
    set(fresh->part);
    return &fresh->cell;
}

teile push_marker(teil_arten kind, teile stack) {
    return &common::make<cell_with_part>(kind, stack)->cell;
}
teile push_anw(anweisung s, teile stack) {
    return push(
        teil_arten::ANW, [&](teil_rec& t) { t.teil_anw() = s; }, stack);
}
teile push_anw_f(anweisung_f l, teile stack) {
    return push(
        teil_arten::ANW_F, [&](teil_rec& t) { t.teil_anw_f() = l; }, stack);
}
teile push_bed(bedingung b, teile stack) {
    return push(
        teil_arten::BED, [&](teil_rec& t) { t.teil_bed() = b; }, stack);
}
teile push_ausdr(ausdruck e, teile stack) {
    return push(
        teil_arten::AUSDR, [&](teil_rec& t) { t.teil_ausdr() = e; }, stack);
}
teile push_zwert(std::int32_t n, teile stack) {
    return push(
        teil_arten::ZWERT, [&](teil_rec& t) { t.teil_zwert() = n; }, stack);
}
teile push_wwert(bool v, teile stack) {
    return push(
        teil_arten::WWERT, [&](teil_rec& t) { t.teil_wwert() = v; }, stack);
}

// top returns the part in the top cell of a stack; an empty stack or an
// empty cell raises the check error.
teil_rec& top(teile stack, common::place where) {
    return *common::not_null(common::not_null(stack, where)->t, where);
}

// below returns the stack below the top cell; an empty stack raises the
// check error.
teile below(teile stack, common::place where) {
    return common::not_null(stack, where)->rest;
}

// step carries one step: the working copy of the state and the stream
// that receives the rule line.
class step {
public:
    step(const zustand& z, common::text_writer& ft) : result_(z), ft_(ft) {}

    zustand run() {
        ft_.new_line();
        if (result_.form == zustand_arten::AKT && result_.akt_zustand().zk != nullptr) {
            dispatch();
            return result_;
        }
        write_rule(rule::ENDE);
        zustand endofresult;
        endofresult.ende_zustand() = result_.akt_zustand().um;  // an ENDE argument fails here
        return endofresult;
    }

private:
    konfiguration& k() { return result_.akt_zustand(); }
    void write_rule(rule r) { ft_.put_line(rule_rows[static_cast<std::size_t>(r)].line); }

    // dispatch chooses the rule by the kind of the top part. What it reads here
    // (the top part, the statement, list, condition or expression it holds)
    // fails before any rule line.
    void dispatch() {
        teil_rec& t = top(k().zk, common::here());
        const teile rest = k().zk->rest;
        switch (t.form) {
            case teil_arten::ANW:
                anw_rules(*common::not_null(t.teil_anw(), common::here()), rest);
                return;
            case teil_arten::ANW_F:
                anw_f_rules(t);
                return;
            case teil_arten::BED:
                bed_rules(*common::not_null(t.teil_bed(), common::here()), rest);
                return;
            case teil_arten::AUSDR:
                ausdr_rules(*common::not_null(t.teil_ausdr(), common::here()), rest);
                return;
            case teil_arten::BEZ:
            case teil_arten::ZWERT:
            case teil_arten::WWERT:
                return;  // no rule: the state comes back as it was
            case teil_arten::OP: {
                write_rule(rule::R4);
                const auto [z1, z2, w2] = two_numbers();
                const std::int32_t r = rechne_op(t.teil_op(), z1, z2);
                k().wk = push_zwert(r, w2);
                k().zk = rest;
                return;
            }
            case teil_arten::ROP: {
                write_rule(rule::R7);
                const auto [z1, z2, w2] = two_numbers();
                const bool r = rechne_rel_op(t.teil_rop(), z1, z2);
                k().wk = push_wwert(r, w2);
                k().zk = rest;
                return;
            }
            case teil_arten::IF_CASE:
                if_case(rest);
                return;
            case teil_arten::DO_CASE:
                do_case(rest);
                return;
            case teil_arten::ZUW:
                assign(rest);
                return;
        }
        common::check_failed(common::here());
    }

    void anw_rules(anweisung_rec& s, teile rest) {
        switch (s.form) {
            case anweisungs_art::FALL:
                write_rule(rule::R12);
                k().zk = push_bed(
                    s.bedingungs_wert_fall(),
                    push_marker(teil_arten::IF_CASE, push_anw_f(s.erst_anweisung_fall(),
                                                                push_anw_f(s.zweit_anweisung_fall(), rest))));
                return;
            case anweisungs_art::SCHLEIFE: {
                write_rule(rule::R15);
                const bedingung b = s.bedingungs_wert_schleife();
                k().zk = push_bed(b, push_marker(teil_arten::DO_CASE,
                                                 push_bed(b, push_anw_f(s.erst_anweisung_schleife(), rest))));
                return;
            }
            case anweisungs_art::SKIP:
                write_rule(rule::R8);
                k().zk = rest;
                return;
            case anweisungs_art::ZUWEISUNG: {
                write_rule(rule::R9);
                // The BEZ part's copy of the name shares the statement's text: no
                // rule changes a name, so the copy is never seen to differ.
                const name_ref x = s.zuweisungs_name();
                k().zk = push_ausdr(
                    s.links_ausdruck(),
                    push_marker(teil_arten::ZUW,
                                push(
                                    teil_arten::BEZ, [&](teil_rec& p) { p.teil_bez() = x; }, rest)));
                return;
            }
        }
        common::check_failed(common::here());
    }

    // Rule 11 advances the part on top in place; the list cells stay.
    void anw_f_rules(teil_rec& t) {
        const anweisung_f l = t.teil_anw_f();
        if (l == nullptr) {
            write_rule(rule::R11_LEER);
            k().zk = k().zk->rest;
            return;
        }
        write_rule(rule::R11);
        const teile on_top = push_anw(l->anw, k().zk);
        t.teil_anw_f() = l->rest;
        k().zk = on_top;
    }

    void bed_rules(bedingung_rec& b, teile rest) {
        switch (b.form) {
            case bedingungs_art::WAHR:
                write_rule(rule::R5);
                k().wk = push_wwert(b.wahr_wert(), k().wk);
                k().zk = rest;
                return;
            case bedingungs_art::VERGLEICH:
                write_rule(rule::R6);
                k().zk = push_ausdr(
                    b.links_ausdruck(),
                    push_ausdr(b.rechts_ausdruck(),
                               push(
                                   teil_arten::ROP, [&](teil_rec& p) { p.teil_rop() = b.vergleichs_wert(); },
                                   rest)));
                return;
        }
        common::check_failed(common::here());
    }

    void ausdr_rules(ausdruck_rec& e, teile rest) {
        switch (e.form) {
            case ausdrucks_art::ZAHL:
                write_rule(rule::R1);
                k().wk = push_zwert(e.zahl_wert(), k().wk);
                k().zk = rest;
                return;
            case ausdrucks_art::NAME: {
                write_rule(rule::R2);
                const std::int32_t n = wert_suche(e.name_wert(), k().um).zahl_wert();  // UNDEF fails here
                k().wk = push_zwert(n, k().wk);
                k().zk = rest;
                return;
            }
            case ausdrucks_art::VERKN:
                write_rule(rule::R3);
                k().zk = push_ausdr(
                    e.links_ausdruck(),
                    push_ausdr(
                        e.rechts_ausdruck(),
                        push(
                            teil_arten::OP, [&](teil_rec& p) { p.teil_op() = e.operator_wert(); }, rest)));
                return;
        }
        common::check_failed(common::here());
    }

    struct operands {
        std::int32_t z1;
        std::int32_t z2;
        teile w2;
    };

    // two_numbers reads the right operand z2 on top of the value stack and
    // the left operand z1 below it, and the stack under both.
    operands two_numbers() {
        const teile wk = k().wk;
        const std::int32_t z2 = top(wk, common::here()).teil_zwert();
        const teile under_top = below(wk, common::here());
        const std::int32_t z1 = top(under_top, common::here()).teil_zwert();
        return {z1, z2, under_top->rest};
    }

    // pop_truth_value reads the truth value on top of the value stack and pops
    // it; an empty stack or another part fails before the rule line.
    bool pop_truth_value() {
        const bool v = top(k().wk, common::here()).teil_wwert();
        k().wk = k().wk->rest;
        return v;
    }

    // Rule 13 unlinks the else cell in place; rule 14 pops the then part.
    void if_case(teile then_cell) {
        k().zk = then_cell;
        const bool v = pop_truth_value();
        if (v) {
            write_rule(rule::R13);
            teile_rec& cell = *common::not_null(then_cell, common::here());
            cell.rest = below(cell.rest, common::here());
        } else {
            write_rule(rule::R14);
            k().zk = below(then_cell, common::here());
        }
    }

    // Rule 16 builds a new loop statement from the kept condition and body.
    void do_case(teile bed_cell) {
        k().zk = bed_cell;
        const bool v = pop_truth_value();
        if (v) {
            write_rule(rule::R16);
            const teile body_cell = below(bed_cell, common::here());
            const bedingung b = top(bed_cell, common::here()).teil_bed();
            const anweisung_f body = top(body_cell, common::here()).teil_anw_f();
            const anweisung loop = common::make<anweisung_rec>(anweisungs_art::SCHLEIFE);
            loop->bedingungs_wert_schleife() = b;
            loop->erst_anweisung_schleife() = body;
            k().zk = push_anw_f(body, push_anw(loop, below(body_cell, common::here())));
        } else {
            write_rule(rule::R17);
            k().zk = below(below(bed_cell, common::here()), common::here());
        }
    }

    void assign(teile bez_cell) {
        write_rule(rule::R10);
        const name_ref x = top(bez_cell, common::here()).teil_bez();
        const std::int32_t n = top(k().wk, common::here()).teil_zwert();
        k().um = wert_eintrag(x, n, k().um);
        k().wk = k().wk->rest;
        k().zk = bez_cell->rest;
    }

    zustand result_;
    common::text_writer& ft_;
};

}  // namespace

zustand delta2_ft(const zustand& z, common::text_writer& ft) {
    return step(z, ft).run();
}

zustand delta2(const zustand& z) {
    return delta2_ft(z, common::standard_output());
}

}  // namespace baumwandler_package
