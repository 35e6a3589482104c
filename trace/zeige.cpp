// Renderers of the While machine: abstract syntax and machine state as
// one-line texts. Every form appends into one buffer; lists and stacks are
// walked in a loop, so a text costs time linear in its length.
#include "trace/zeige.hpp"

#include <string_view>
#include <type_traits>
#include <vector>

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "common/image.hpp"

namespace baumwandler_package {
namespace {

// row_text returns the text of the row of the enumeration value `a`; a value
// outside the table fails the guard at `where`.
template <class Enum, std::size_t N>
std::string_view row_text(const symbol_row<Enum> (&rows)[N], Enum a, common::place where) {
    const auto index = static_cast<std::size_t>(a);
    common::check(index < N, where);
    return rows[index].text;
}

// append_truth appends a truth value as the configurations show it.
void append_truth(std::string& erg, bool w) {
    erg += w ? "true" : "false";
}

// zeige_anw appends the text of one statement; nested lists go back through
// zeige_anw_f.
void zeige_anw(std::string& erg, anweisung a) {
    const anweisung_rec& s = *common::not_null(a, common::place{module_name, __LINE__});
    switch (s.form) {
        case anweisungs_art::FALL:
            erg += " if ";
            zeige_bed(erg, s.bedingungs_wert_fall());
            erg += " then ";
            zeige_anw_f(erg, s.erst_anweisung_fall());
            erg += " else ";
            zeige_anw_f(erg, s.zweit_anweisung_fall());
            erg += " fi";
            return;
        case anweisungs_art::SCHLEIFE:
            erg += " while ";
            zeige_bed(erg, s.bedingungs_wert_schleife());
            erg += " do ";
            zeige_anw_f(erg, s.erst_anweisung_schleife());
            erg += " od ";
            return;
        case anweisungs_art::SKIP:
            erg += "skip";
            return;
        case anweisungs_art::ZUWEISUNG:
            erg += s.zuweisungs_name();
            erg += ":=";
            zeige_ausdr(erg, s.links_ausdruck());
            return;
    }
    common::check_failed(common::place{module_name, __LINE__});
}

// zeige_teil appends the text of one stack part.
void zeige_teil(std::string& erg, teil a) {
    const teil_rec& t = *common::not_null(a, common::place{module_name, __LINE__});
    switch (t.form) {
        case teil_arten::ANW:
            zeige_anw(erg, t.teil_anw());  // reads as the only statement of a list
            return;
        case teil_arten::ANW_F:
            zeige_anw_f(erg, t.teil_anw_f());
            return;
        case teil_arten::BED:
            zeige_bed(erg, t.teil_bed());
            return;
        case teil_arten::AUSDR:
            zeige_ausdr(erg, t.teil_ausdr());
            return;
        case teil_arten::BEZ:
            erg += t.teil_bez();
            return;
        case teil_arten::ZWERT:
            common::append_image(erg, t.teil_zwert());
            return;
        case teil_arten::WWERT:
            append_truth(erg, t.teil_wwert());
            return;
        case teil_arten::OP:
            zeige_op(erg, t.teil_op());
            return;
        case teil_arten::ROP:
            zeige_vergl(erg, t.teil_rop());
            return;
        case teil_arten::IF_CASE:
            erg += "if";
            return;
        case teil_arten::DO_CASE:
            erg += "do";
            return;
        case teil_arten::ZUW:
            erg += ":=";
            return;
    }
    common::check_failed(common::place{module_name, __LINE__});
}

// append_parenthesised appends "(" left middle right ")", the three pieces in
// this order: the text of an operation and of a comparison alike.
template <class M>
void append_parenthesised(std::string& erg, ausdruck left, void (*append_middle)(std::string&, M), M middle,
                          ausdruck right) {
    erg += '(';
    zeige_ausdr(erg, left);
    append_middle(erg, middle);
    zeige_ausdr(erg, right);
    erg += ')';
}

// as_text runs a renderer's appending form and returns its text.
template <class A>
std::string as_text(void (*zeige)(std::string&, A), std::type_identity_t<A> a) {
    std::string erg;
    zeige(erg, a);
    return erg;
}

}  // namespace

void zeige_op(std::string& erg, operator_ a) {
    erg += row_text(operator_rows, a, common::place{module_name, __LINE__});
}

void zeige_vergl(std::string& erg, vergleicher a) {
    erg += row_text(comparison_rows, a, common::place{module_name, __LINE__});
}

void zeige_ausdr(std::string& erg, ausdruck a) {
    const ausdruck_rec& e = *common::not_null(a, common::place{module_name, __LINE__});
    switch (e.form) {
        case ausdrucks_art::ZAHL:
            common::append_image(erg, e.zahl_wert());
            return;
        case ausdrucks_art::NAME:
            erg += e.name_wert();
            return;
        case ausdrucks_art::VERKN:
            append_parenthesised(erg, e.links_ausdruck(), &zeige_op, e.operator_wert(), e.rechts_ausdruck());
            return;
    }
    common::check_failed(common::place{module_name, __LINE__});
}

void zeige_bed(std::string& erg, bedingung a) {
    const bedingung_rec& b = *common::not_null(a, common::place{module_name, __LINE__});
    switch (b.form) {
        case bedingungs_art::WAHR:
            append_truth(erg, b.wahr_wert());
            return;
        case bedingungs_art::VERGLEICH:
            append_parenthesised(erg, b.links_ausdruck(), &zeige_vergl, b.vergleichs_wert(),
                                 b.rechts_ausdruck());
            return;
    }
    common::check_failed(common::place{module_name, __LINE__});
}

void zeige_anw_f(std::string& erg, anweisung_f a) {
    if (a == nullptr) {
        erg += "[]";
        return;
    }
    for (anweisung_f zelle = a; zelle != nullptr; zelle = zelle->rest) {
        if (zelle != a) {
            erg += ';';
        }
        zeige_anw(erg, zelle->anw);
    }
}

void zeige_teile(std::string& erg, teile a) {
    for (teile zelle = a; zelle != nullptr; zelle = zelle->rest) {
        if (zelle != a) {
            erg += '&';
        }
        zeige_teil(erg, zelle->t);
    }
}

void zeige_wert(std::string& erg, const wert& a) {
    switch (a.form) {
        case wert_art::UNDEF:
            erg += '_';
            return;
        case wert_art::DEF_WERT:
            common::append_image(erg, a.zahl_wert());
            return;
    }
    common::check_failed(common::place{module_name, __LINE__});
}

void zeige_var(std::string& erg, const variable& a) {
    erg += '(';
    erg += a.variable_name;
    erg += ',';
    zeige_wert(erg, a.variable_wert);
    erg += ')';
}

void zeige_vars(std::string& erg, umgebung a) {
    for (umgebung zelle = a; zelle != nullptr; zelle = zelle->next) {
        zeige_var(erg, zelle->elem);
    }
}

teile rev(teile t) {
    teile result = nullptr;
    for (teile tx = t; tx != nullptr; tx = tx->rest) {
        result = common::make<teile_rec>(tx->t, result);
    }
    return result;
}

void zeige_konf(std::string& erg, const konfiguration& a) {
    erg += "<< ";
    zeige_vars(erg, a.um);
    erg += " , ";
    // The value stack reads from the value pushed first: its parts are taken
    // bottom up from a local list instead of a reversed copy on the heap, which
    // would grow the never-released cells with every step of a run.
    std::vector<teil> werte;
    for (teile zelle = a.wk; zelle != nullptr; zelle = zelle->rest) {
        werte.push_back(zelle->t);
    }
    for (auto it = werte.rbegin(); it != werte.rend(); ++it) {
        if (it != werte.rbegin()) {
            erg += '&';
        }
        zeige_teil(erg, *it);
    }
    erg += " , ";
    zeige_teile(erg, a.zk);
    erg += " >>";
}

std::string zeige_op(operator_ a) {
    return as_text(&zeige_op, a);
}
std::string zeige_vergl(vergleicher a) {
    return as_text(&zeige_vergl, a);
}
std::string zeige_ausdr(ausdruck a) {
    return as_text(&zeige_ausdr, a);
}
std::string zeige_bed(bedingung a) {
    return as_text(&zeige_bed, a);
}
std::string zeige_anw_f(anweisung_f a) {
    return as_text(&zeige_anw_f, a);
}
std::string zeige_teile(teile a) {
    return as_text(&zeige_teile, a);
}
std::string zeige_vars(umgebung a) {
    return as_text(&zeige_vars, a);
}

std::string zeige_wert(const wert& a) {
    return as_text(&zeige_wert, a);
}
std::string zeige_var(const variable& a) {
    return as_text(&zeige_var, a);
}
std::string zeige_konf(const konfiguration& a) {
    return as_text(&zeige_konf, a);
}

}  // namespace baumwandler_package
