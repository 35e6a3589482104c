// Relations of a grammar: the nonterminals that derive the empty word, the
// pair relations Anfang, Neben and Ende, and First and Follow computed from
// them through Boolean matrices.
//
// Nothing is cached: every operation recomputes what it needs (the epsilon
// set inside pruefe and neben, ende twice in follow), as the sizes of the
// grammars allow.
#pragma once

#include <string>

#include "common/arena.hpp"
#include "common/textio.hpp"
#include "grammar/grammatikgenerator2.hpp"
#include "grammar/matrix.hpp"
#include "grammar/mengen.hpp"
#include "grammar/symbols.hpp"
#include "grammar/toadi.hpp"

namespace grammar::relationenpaket {

namespace menge = grammar::mengen;
namespace paar = grammar::toadi;
namespace g2 = grammar::grammatikgenerator2;

// The relations of the grammar held in gg. The program fills gg first and
// then asks for the relations; each call reads the grammar as it is then.
template <grammar_symbol_type Z>
class relationen {
public:
    using zeichenfolge = g2::zeichenfolge<Z>;
    using alternativen = g2::alternativen<Z>;
    using regelmenge = g2::regelmenge<Z>;
    using listz = menge::listz<Z>;
    using tupelpoint = paar::tupelpoint<Z>;

    g2::grammatik<Z> gg;

    // epszaehler returns the set of nonterminals that derive the empty word.
    // It refreshes the table of rules that anfang, ende and neben walk and
    // works on a deep copy of it, which it shortens pass by pass.
    listz epszaehler() {
        regeln_ = gg.getregeln();
        regelmenge reg = kopiereregeln(regeln_);
        listz erglist = menge::neueleermenge<Z>();
        listz zwischenlist = menge::neueleermenge<Z>();
        for (Z n : nonterminals<Z>()) {
            if (gg.hatepsilonregel(n)) {
                menge::einfuegen(n, erglist);
            }
        }
        while (erglist != zwischenlist) {
            zwischenlist = erglist;
            for (Z i : nonterminals<Z>()) {
                if (menge::vorhanden(i, erglist) || reg[i] == nullptr) {
                    continue;
                }
                // A nonterminal that joined earlier in this pass counts.
                for (Z j : all_symbols<Z>()) {
                    if (menge::vorhanden(j, erglist) && strike(j, reg[i])) {
                        menge::einfuegen(i, erglist);
                    }
                }
            }
            for (Z n : nonterminals<Z>()) {
                if (has_empty_side(reg[n])) {
                    menge::einfuegen(n, erglist);
                }
            }
        }
        return erglist;
    }

    // eps_text returns the text that druckeeps prints: two line ends, then
    // "{ ", each member followed by a blank, "} sind Epsilon-Symbole." and a
    // line end.
    static std::string eps_text(const listz& erglist) {
        std::string text = "\n\n{ ";
        for (Z z : all_symbols<Z>()) {
            if (menge::vorhanden(z, erglist)) {
                text += image(z) + ' ';
            }
        }
        text += "} sind Epsilon-Symbole.\n";
        return text;
    }

    // druckeeps prints the set on standard output.
    static void druckeeps(const listz& erglist) { common::standard_output().put(eps_text(erglist)); }

    // pruefe returns tp with (i, X) put in front for every symbol X that can
    // begin zeif: the first symbol, and each symbol preceded only by
    // nullable nonterminals.
    tupelpoint pruefe(zeichenfolge zeif, tupelpoint tp, Z i) {
        const listz e = epszaehler();
        if (zeif == nullptr) {
            return tp;
        }
        tp = paar::prepend(i, zeif->erstes, tp);
        for (zeichenfolge s = zeif; s != nullptr && nullable(s->erstes, e); s = s->weitere) {
            if (s->weitere != nullptr) {
                tp = paar::prepend(i, s->weitere->erstes, tp);
            }
        }
        return tp;
    }

    // anfang returns Anfang: (A, X) when X can stand first in a right side
    // of A, then (t, t) for every terminal t.
    tupelpoint anfang() {
        return over_all_sides([](zeichenfolge side) { return side; });
    }

    // ende returns Ende: as anfang, on the reversed right sides.
    tupelpoint ende() {
        const auto rev = [](zeichenfolge side) {
            zeichenfolge umgedreht = nullptr;
            for (; side != nullptr; side = side->weitere) {
                umgedreht = common::make<g2::zeichenfolgerec<Z>>(side->erstes, umgedreht);
            }
            return umgedreht;
        };
        return over_all_sides(rev);
    }

    // neben returns Neben: (X, Y) when Y can follow X inside a right side,
    // only nullable nonterminals between them.
    tupelpoint neben() {
        const listz ergebnisse = epszaehler();
        const regelmenge table = regeln_;
        tupelpoint pairs = nullptr;
        for (Z n : nonterminals<Z>()) {
            for (alternativen alt = table[n]; alt != nullptr; alt = alt->andere) {
                for (zeichenfolge x = alt->erste; x != nullptr && x->weitere != nullptr; x = x->weitere) {
                    pairs = paar::prepend(x->erstes, x->weitere->erstes, pairs);
                    for (zeichenfolge y = x->weitere;
                         y->weitere != nullptr && menge::vorhanden(y->erstes, ergebnisse); y = y->weitere) {
                        pairs = paar::prepend(x->erstes, y->weitere->erstes, pairs);
                    }
                }
            }
        }
        return pairs;
    }

    // first returns First: (A, t) for every terminal t with which the
    // nonterminal A can begin.
    tupelpoint first() {
        const auto m = paar::mat::transhuelle(paar::erzeugeadimatrix(anfang()));
        tupelpoint pairs = nullptr;
        for (Z n : nonterminals<Z>()) {
            for (Z t : terminals<Z>()) {
                if (m[n][t]) {
                    pairs = paar::prepend(n, t, pairs);
                }
            }
        }
        return pairs;
    }

    // follow returns Follow: (A, t) for every terminal t that can follow A,
    // and (A, '#') when A can end the start symbol. It first writes the end
    // marker's image, without a line end, on standard output.
    tupelpoint follow() {
        namespace mat = paar::mat;
        auto matrix1 = paar::erzeugeadimatrix(ende());
        auto matrix2 = paar::erzeugeadimatrix(ende());
        const Z s = first_symbol<Z>;
        const Z endsym = end_marker<Z>;
        common::standard_output().put(image(endsym));
        matrix1 = mat::transition(mat::transition(mat::reflextranshuelle(mat::transponiere(matrix1)),
                                                  paar::erzeugeadimatrix(neben())),
                                  mat::reflextranshuelle(paar::erzeugeadimatrix(anfang())));
        matrix2 = mat::reflextranshuelle(matrix2);
        tupelpoint pairs = nullptr;
        for (Z n : nonterminals<Z>()) {
            for (Z t : terminals<Z>()) {
                if (matrix1[n][t]) {
                    pairs = paar::prepend(n, t, pairs);
                }
            }
            if (matrix2[s][n]) {
                pairs = paar::prepend(n, endsym, pairs);
            }
        }
        return pairs;
    }

private:
    static bool nullable(Z z, const listz& e) { return !is_terminal(z) && menge::vorhanden(z, e); }

    // The pairs of pruefe over every alternative, each right side given in
    // the form `side` makes of it, then (t, t) for every terminal. The
    // rules are taken afresh first, so a call before any epszaehler sees
    // the whole grammar; the walk runs over that snapshot while pruefe
    // refreshes the table.
    template <class Side>
    tupelpoint over_all_sides(Side side) {
        regeln_ = gg.getregeln();
        const regelmenge table = regeln_;
        tupelpoint pairs = nullptr;
        for (Z i : nonterminals<Z>()) {
            for (alternativen alt = table[i]; alt != nullptr; alt = alt->andere) {
                pairs = pruefe(side(alt->erste), pairs, i);
            }
        }
        for (Z t : terminals<Z>()) {
            pairs = paar::prepend(t, t, pairs);
        }
        return pairs;
    }

    // A fresh copy of a right side.
    static zeichenfolge kopiere2(zeichenfolge side) {
        zeichenfolge head = nullptr;
        zeichenfolge* tail = &head;
        for (; side != nullptr; side = side->weitere) {
            *tail = common::make<g2::zeichenfolgerec<Z>>(side->erstes, nullptr);
            tail = &(*tail)->weitere;
        }
        return head;
    }

    // A fresh copy of an alternative list, each right side copied too.
    static alternativen kopiere(alternativen alt) {
        alternativen head = nullptr;
        alternativen* tail = &head;
        for (; alt != nullptr; alt = alt->andere) {
            *tail = common::make<g2::alternativenrec<Z>>(kopiere2(alt->erste), nullptr);
            tail = &(*tail)->andere;
        }
        return head;
    }

    static regelmenge kopiereregeln(const regelmenge& table) {
        regelmenge copy{};
        for (Z n : nonterminals<Z>()) {
            copy[n] = kopiere(table[n]);
        }
        return copy;
    }

    // Takes every occurrence of j out of every right side of the list;
    // returns true when one of them became empty.
    static bool strike(Z j, alternativen alt) {
        bool emptied = false;
        for (; alt != nullptr; alt = alt->andere) {
            if (alt->erste == nullptr) {
                continue;
            }
            for (zeichenfolge* cell = &alt->erste; *cell != nullptr;) {
                if ((*cell)->erstes == j) {
                    *cell = (*cell)->weitere;
                } else {
                    cell = &(*cell)->weitere;
                }
            }
            emptied = emptied || alt->erste == nullptr;
        }
        return emptied;
    }

    static bool has_empty_side(alternativen alt) {
        for (; alt != nullptr; alt = alt->andere) {
            if (alt->erste == nullptr) {
                return true;
            }
        }
        return false;
    }

    // The table that anfang, ende and neben walk; epszaehler refreshes it, and
    // so do anfang and ende at their start.
    regelmenge regeln_{};
};

}  // namespace grammar::relationenpaket
