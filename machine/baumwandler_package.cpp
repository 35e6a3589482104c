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
    const grbaum erstes = child(baum, 1);
    switch (erstes->al) {
        case alphabet::ZAHLT: {
            const ausdruck e = common::make_scoped<ausdruck_rec>(ausdrucks_art::ZAHL);
            e->zahl_wert() = read_number(erstes->exp());
            return e;
        }
        case alphabet::NAMET: {
            const ausdruck e = common::make_scoped<ausdruck_rec>(ausdrucks_art::NAME);
            e->name_wert() = name_ref(erstes->exp());  // a copy: the program holds nothing of the tree
            return e;
        }
        case alphabet::AUFT: {
            const ausdruck e = common::make_scoped<ausdruck_rec>(ausdrucks_art::VERKN);
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
    const alphabet erstes = child(baum, 1)->al;
    if (erstes == alphabet::TRUET || erstes == alphabet::FALSET) {
        const bedingung b = common::make_scoped<bedingung_rec>(bedingungs_art::WAHR);
        b->wahr_wert() = erstes == alphabet::TRUET;
        return b;
    }
    const bedingung b = common::make_scoped<bedingung_rec>(bedingungs_art::VERGLEICH);
    b->vergleichs_wert() = ropt_wandler(child(baum, 2)->exp());
    b->links_ausdruck() = ausdruck_wandler(child(baum, 1));
    b->rechts_ausdruck() = ausdruck_wandler(child(baum, 3));
    return b;
}

anweisung anw_wandler(grbaum baum) {
    switch (common::not_null(baum, common::here())->al) {
        case alphabet::ZUWEISUNG: {
            const anweisung s = common::make_scoped<anweisung_rec>(anweisungs_art::ZUWEISUNG);
            s->zuweisungs_name() = name_ref(child(baum, 1)->exp());
            s->links_ausdruck() = ausdruck_wandler(child(baum, 3));
            return s;
        }
        case alphabet::BEDINGTEANWEISUNG: {
            const anweisung s = common::make_scoped<anweisung_rec>(anweisungs_art::FALL);
            s->bedingungs_wert_fall() = bedingung_wandler(child(baum, 2));
            s->erst_anweisung_fall() = anwf_wandler(child(baum, 4));
            s->zweit_anweisung_fall() = anwf_wandler(child(baum, 6));
            return s;
        }
        case alphabet::SCHLEIFE: {
            const anweisung s = common::make_scoped<anweisung_rec>(anweisungs_art::SCHLEIFE);
            s->bedingungs_wert_schleife() = bedingung_wandler(child(baum, 2));
            s->erst_anweisung_schleife() = anwf_wandler(child(baum, 4));
            return s;
        }
        case alphabet::LEEREANWEISUNG:
            return common::make_scoped<anweisung_rec>(anweisungs_art::SKIP);
        default:
            return nullptr;
    }
}

// The list is walked in a loop, one cell per statement, so a long list costs
// no stack; only nested statements recurse.
anweisung_f anwf_wandler(grbaum baum) {
    anweisung_f liste = nullptr;
    anweisung_f* ende = &liste;
    grbaum knoten = baum;
    for (;;) {
        const grbaum anw_knoten = child(knoten, 1);
        const anweisung_f zelle = common::make_scoped<anweisung_f_rec>();
        zelle->anw = anw_wandler(anw_knoten->knoten());
        *ende = zelle;
        ende = &zelle->rest;
        if (anw_knoten->rest == nullptr) {
            return liste;
        }
        knoten = common::not_null(anw_knoten->rest->rest,
                                  common::here());  // the ANWF behind the ";"
    }
}

teile baum_wandler(grbaum baum) {
    if (common::not_null(baum, common::here())->al != alphabet::PROGRAMM) {
        return nullptr;
    }
    const teil programm = common::make_scoped<teil_rec>(teil_arten::ANW_F);
    programm->teil_anw_f() = anwf_wandler(child(baum, 1));
    return common::make_scoped<teile_rec>(programm, nullptr);
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
    std::unordered_set<std::string_view> vorhanden;
    for (umgebung u = var_liste; u != nullptr; u = u->next) {
        vorhanden.insert(u->elem.variable_name.view());
    }
    umgebung liste = var_liste;
    std::vector<frame> offen;
    offen.push_back(frame{gr});
    while (!offen.empty()) {
        frame& r = offen.back();
        if (r.node == nullptr) {
            if (r.new_cells != nullptr) {
                r.last->next = liste;
                liste = r.new_cells;
            }
            offen.pop_back();
            continue;
        }
        const grbaum knoten = r.node;
        r.node = knoten->rest;
        if (!comtypes::is_terminal_symbol(knoten->al)) {
            offen.push_back(frame{knoten->knoten()});  // r is not used after this
        } else if (knoten->al == alphabet::NAMET && !vorhanden.contains(knoten->exp())) {
            const umgebung zelle =
                common::make_scoped<umgebung_rec>(variable{name_ref(knoten->exp()), wert{}});
            vorhanden.insert(zelle->elem.variable_name.view());
            (r.new_cells == nullptr ? r.new_cells : r.last->next) = zelle;
            r.last = zelle;
        }
    }
    return liste;
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

bool wert_vorhanden(std::string_view var, umgebung umg) {
    return first_entry(var, umg) != nullptr;
}

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
            common::check(z2 != 0, places::modulo);
            return z2 == -1 ? 0 : common::modulo(z1, z2, places::modulo);
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

// The rules that a step can fire, and the end of a run.
enum class rule : std::uint8_t {
    R1,
    R2,
    R3,
    R4,
    R5,
    R6,
    R7,
    R8,
    R9,
    R10,
    R11,
    R11_LEER,
    R12,
    R13,
    R14,
    R15,
    R16,
    R17,
    ENDE,
};

// The line that a step writes for each rule. Its line end goes to the
// writer on its own: a write that fails at it names the line end's call.
struct rule_row {
    rule value;
    std::string_view line;
};

constexpr rule_row rule_rows[] = {
    {rule::R1, "-- (1 : Zahl lesen) --"},
    {rule::R2, "-- (2 : Variable lesen, Wert aus Umgebung)--"},
    {rule::R3, "-- (3 : Verknuepfung aufloesen)--"},
    {rule::R4, "-- (4 : Arithmetische Operation)--"},
    {rule::R5, "-- (5 : Wahrheitswert lesen)--"},
    {rule::R6, "-- (6 : Bedingung aufloesen)--"},
    {rule::R7, "-- (7 : Vergleichsoperation)--"},
    {rule::R8, "-- (8 : Skipanweisung)--"},
    {rule::R9, "-- (9 : Zuweisung aufloesen)--"},
    {rule::R10, "-- (10 : Zuweisung ausfuehren)--"},
    {rule::R11, "-- (11 : nichtleere Anweisungsfolge aufloesen)--"},
    {rule::R11_LEER, "-- (11' : leere Anweisungsfolge aufloesen)--"},
    {rule::R12, "-- (12 : If-Anweisung aufloesen)--"},
    {rule::R13, "-- (13 : If-Anweisung True-Fall)--"},
    {rule::R14, "-- (14 : If-Anweisung False-Fall)--"},
    {rule::R15, "-- (15 : Schleife aufloesen)--"},
    {rule::R16, "-- (16 : Schleifenbedingung True)--"},
    {rule::R17, "-- (17 : Schleifenbedingung False)--"},
    {rule::ENDE, "-- (Ende der Auswertung)--"},
};
static_assert(common::one_row_per_value(rule_rows, &rule_row::value,
                                        static_cast<std::size_t>(rule::ENDE) + 1),
              "one row per rule, in the order of rule");

// A part that a rule pushes is new, and so is its cell: both are made in
// one piece. They stay two records: the cell's `t` points to the part.
struct cell_with_part {
    teil_rec part;
    teile_rec cell;

    cell_with_part(teil_arten art, teile stapel) : part(art), cell{&part, stapel} {}
};

// push returns a new cell on top of `stapel` holding a new part of kind
// `art`, whose one field `set` fills.
template <class Set>
teile push(teil_arten art, Set set, teile stapel) {
    cell_with_part* neu = common::make_scoped<cell_with_part>(art, stapel);
    set(neu->part);
    return &neu->cell;
}

teile push_marker(teil_arten art, teile stapel) {
    return &common::make_scoped<cell_with_part>(art, stapel)->cell;
}
teile push_anw(anweisung s, teile stapel) {
    return push(
        teil_arten::ANW, [&](teil_rec& t) { t.teil_anw() = s; }, stapel);
}
teile push_anw_f(anweisung_f l, teile stapel) {
    return push(
        teil_arten::ANW_F, [&](teil_rec& t) { t.teil_anw_f() = l; }, stapel);
}
teile push_bed(bedingung b, teile stapel) {
    return push(
        teil_arten::BED, [&](teil_rec& t) { t.teil_bed() = b; }, stapel);
}
teile push_ausdr(ausdruck e, teile stapel) {
    return push(
        teil_arten::AUSDR, [&](teil_rec& t) { t.teil_ausdr() = e; }, stapel);
}
teile push_zwert(std::int32_t n, teile stapel) {
    return push(
        teil_arten::ZWERT, [&](teil_rec& t) { t.teil_zwert() = n; }, stapel);
}
teile push_wwert(bool v, teile stapel) {
    return push(
        teil_arten::WWERT, [&](teil_rec& t) { t.teil_wwert() = v; }, stapel);
}

// top returns the part in the top cell of a stack; an empty stack or an
// empty cell raises the check error.
teil_rec& top(teile stapel, common::place where) {
    return *common::not_null(common::not_null(stapel, where)->t, where);
}

// below returns the stack below the top cell; an empty stack raises the
// check error.
teile below(teile stapel, common::place where) {
    return common::not_null(stapel, where)->rest;
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
        const teile oben = push_anw(l->anw, k().zk);
        t.teil_anw_f() = l->rest;
        k().zk = oben;
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
        const teile darunter = below(wk, common::here());
        const std::int32_t z1 = top(darunter, common::here()).teil_zwert();
        return {z1, z2, darunter->rest};
    }

    // pop_truth_value reads the truth value on top of the value stack and pops
    // it; an empty stack or another part fails before the rule line.
    bool pop_truth_value() {
        const bool v = top(k().wk, common::here()).teil_wwert();
        k().wk = k().wk->rest;
        return v;
    }

    // Rule 13 unlinks the else cell in place; rule 14 pops the then part.
    void if_case(teile then_zelle) {
        k().zk = then_zelle;
        const bool v = pop_truth_value();
        if (v) {
            write_rule(rule::R13);
            teile_rec& zelle = *common::not_null(then_zelle, common::here());
            zelle.rest = below(zelle.rest, common::here());
        } else {
            write_rule(rule::R14);
            k().zk = below(then_zelle, common::here());
        }
    }

    // Rule 16 builds a new loop statement from the kept condition and body.
    void do_case(teile bed_zelle) {
        k().zk = bed_zelle;
        const bool v = pop_truth_value();
        if (v) {
            write_rule(rule::R16);
            const teile body_zelle = below(bed_zelle, common::here());
            const bedingung b = top(bed_zelle, common::here()).teil_bed();
            const anweisung_f body = top(body_zelle, common::here()).teil_anw_f();
            const anweisung schleife = common::make_scoped<anweisung_rec>(anweisungs_art::SCHLEIFE);
            schleife->bedingungs_wert_schleife() = b;
            schleife->erst_anweisung_schleife() = body;
            k().zk = push_anw_f(body, push_anw(schleife, below(body_zelle, common::here())));
        } else {
            write_rule(rule::R17);
            k().zk = below(below(bed_zelle, common::here()), common::here());
        }
    }

    void assign(teile bez_zelle) {
        write_rule(rule::R10);
        const name_ref x = top(bez_zelle, common::here()).teil_bez();
        const std::int32_t n = top(k().wk, common::here()).teil_zwert();
        k().um = wert_eintrag(x, n, k().um);
        k().wk = k().wk->rest;
        k().zk = bez_zelle->rest;
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
