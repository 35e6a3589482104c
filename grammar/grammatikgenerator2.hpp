// Grammar model: the rule table of one context-free grammar, built
// alternative by alternative, printed as its listing, tested for simplicity,
// and the top-down word test with its configuration trace.
#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "common/textio.hpp"
#include "grammar/symbols.hpp"

namespace grammar::grammatikgenerator2 {

// Name of the error that marks a word the analysis cannot derive; it never
// leaves the word test.
inline constexpr std::string_view analysefehler = "GRAMMATIKGENERATOR2.ANALYSEFEHLER";

// One symbol of a right side and the rest of it (null after the last).
template <grammar_symbol_type Z>
struct zeichenfolgerec {
    Z erstes;
    zeichenfolgerec* weitere;
};

// A right side: its first cell; null is the empty alternative.
template <grammar_symbol_type Z>
using zeichenfolge = zeichenfolgerec<Z>*;

// One alternative of a nonterminal and the next one (null after the last).
template <grammar_symbol_type Z>
struct alternativenrec {
    zeichenfolge<Z> erste;
    alternativenrec* andere;
};

// The alternative list of one nonterminal; null while it has none.
template <grammar_symbol_type Z>
using alternativen = alternativenrec<Z>*;

// A rule table: one alternative list per nonterminal.
template <grammar_symbol_type Z>
using regelmenge = nonterminal_array<Z, alternativen<Z>>;

// The symbols of one right side as the caller holds them, in order; no
// element is the empty alternative.
template <grammar_symbol_type Z>
using zeichenarray = std::span<const Z>;

// The word of the word test, terminals only; the analysis counts its
// positions from 1.
template <grammar_symbol_type Z>
using wort = std::span<const Z>;

// The grammar of one program. It starts with every alternative list empty;
// cells are only ever added. They come from the arena; no grammar program
// opens an arena scope, so they stay to the program's end.
template <grammar_symbol_type Z>
class grammatik {
public:
    // istterminal returns true when z lies after the last nonterminal (the
    // end marker included).
    static bool istterminal(Z z) { return is_terminal(z); }

    // neuealternativehinzu adds the symbols of rechts, in order, as the new
    // last alternative of links; an empty rechts is the empty alternative.
    // A terminal links is refused with the check error before anything is added.
    void neuealternativehinzu(Z links, zeichenarray<Z> rechts) {
        common::check(!istterminal(links), common::here());
        zeichenfolge<Z> right_side = nullptr;
        for (auto symbol = rechts.rbegin(); symbol != rechts.rend(); ++symbol) {
            right_side = common::make<zeichenfolgerec<Z>>(*symbol, right_side);
        }
        auto* added = common::make<alternativenrec<Z>>(right_side, nullptr);
        alternativen<Z>* tail = &regeln_[links];
        while (*tail != nullptr) {
            tail = &(*tail)->andere;
        }
        *tail = added;
    }

    // listing returns the listing that druckegrammatik prints: start
    // symbol, nonterminals, terminals and rules, the last line being the
    // last alternative of the last nonterminal.
    [[nodiscard]] std::string listing() const {
        std::string text = "Startsymbol:\n   " + image(first_symbol<Z>) + "\n\nNichtterminale:\n";
        for (Z n : nonterminals<Z>()) {
            text += "   " + image(n) + '\n';
        }
        text += "\nTerminale:\n";
        for (Z t : terminals<Z>()) {
            text += "   " + image(t) + '\n';
        }
        text += "\nRegeln:\n";
        for (Z n : nonterminals<Z>()) {
            text += "   " + image(n) + " ->\n";
            for (alternativen<Z> alt = regeln_[n]; alt != nullptr; alt = alt->andere) {
                text += "       ";
                for (zeichenfolge<Z> s = alt->erste; s != nullptr; s = s->weitere) {
                    text += image(s->erstes) + ' ';
                }
                text += alt->andere != nullptr ? "|\n" : ".\n";
            }
        }
        return text;
    }

    // druckegrammatik prints the listing on standard output.
    void druckegrammatik() const { common::standard_output().put(listing()); }

    // istgrammatikeinfach returns true when, for every nonterminal, each
    // non-empty alternative begins with a terminal, no two begin with the
    // same terminal and at most one alternative is empty. It stops at the
    // first failure.
    [[nodiscard]] bool istgrammatikeinfach() const {
        for (Z n : nonterminals<Z>()) {
            int anzeps = 0;
            for (alternativen<Z> alt1 = regeln_[n]; alt1 != nullptr; alt1 = alt1->andere) {
                if (alt1->erste == nullptr) {
                    ++anzeps;
                    continue;
                }
                if (!istterminal(alt1->erste->erstes)) {
                    return false;
                }
                for (alternativen<Z> alt2 = regeln_[n]; alt2 != alt1; alt2 = alt2->andere) {
                    if (alt2->erste != nullptr && alt2->erste->erstes == alt1->erste->erstes) {
                        return false;
                    }
                }
            }
            if (anzeps > 1) {
                return false;
            }
        }
        return true;
    }

    // hatepsilonregel returns true when n has an empty alternative of its
    // own; deriving the empty word through other nonterminals does not count.
    [[nodiscard]] bool hatepsilonregel(Z n) const {
        for (alternativen<Z> alt = regeln_[n]; alt != nullptr; alt = alt->andere) {
            if (alt->erste == nullptr) {
                return true;
            }
        }
        return false;
    }

    // getregeln returns a copy of the rule table; the copy shares the
    // alternative lists and right sides of the grammar.
    [[nodiscard]] regelmenge<Z> getregeln() const { return regeln_; }

    // wortimsprachschatz appends to `trace` the trace of the top-down
    // analysis of the word w (terminals only; a nonterminal is refused with
    // the check error) and returns true when the analysis derives it. A
    // failed analysis ends the trace with "Analyse mit Fehler abgebrochen"
    // and returns false.
    bool wortimsprachschatz(wort<Z> w, std::string& trace) const {
        for (Z t : w) {
            common::check(istterminal(t), common::here());
        }
        word_analysis run{*this, w, trace};
        return run.result();
    }

    // wortimsprachschatz prints the trace on standard output.
    bool wortimsprachschatz(wort<Z> w) const {
        std::string trace;
        const bool result = wortimsprachschatz(w, trace);
        common::standard_output().put(trace);
        return result;
    }

private:
    // One call of the word test: the unread rest of the word from pos, the
    // sentential form still to be derived, and the last chosen alternative.
    struct word_analysis {
        const grammatik& gg;
        wort<Z> w;
        std::string& trace;
        std::size_t pos = 1;
        zeichenfolge<Z> form = common::make<zeichenfolgerec<Z>>(first_symbol<Z>, nullptr);
        alternativen<Z> alt = nullptr;

        [[nodiscard]] std::size_t n() const { return w.size(); }
        [[nodiscard]] Z lookahead() const { return w[pos - 1]; }

        [[noreturn]] static void fail(common::place where) { common::raise(analysefehler, where); }

        bool result() {
            try {
                trace += '\n';
                druckekonfiguration();
                while (pos <= n() && form != nullptr) {
                    const Z x = form->erstes;
                    if (istterminal(x)) {
                        if (x != lookahead()) {
                            fail(common::here());
                        }
                        ++pos;
                        form = form->weitere;
                    } else {
                        wendean(finderegel(x, lookahead()));
                    }
                    trace += "=> ";
                    druckekonfiguration();
                }
                if (pos <= n()) {
                    fail(common::here());  // the form is used up, the word is not
                }
                while (form != nullptr) {
                    const Z x = form->erstes;
                    if (istterminal(x) || !gg.hatepsilonregel(x)) {
                        fail(common::here());
                    }
                    form = form->weitere;
                    trace += "=> ";
                    druckekonfiguration();
                }
                trace += '\n';
                return true;
            } catch (const common::named_error& error) {
                if (!error.is(analysefehler)) {
                    throw;
                }
                trace += "\nAnalyse mit Fehler abgebrochen\n\n";
                return false;
            }
        }

        // finderegel returns the first alternative of n that begins with t,
        // else the first empty one, else null; it also keeps it in alt.
        alternativen<Z> finderegel(Z n, Z t) {
            alt = nullptr;
            for (alternativen<Z> a = gg.regeln_[n]; a != nullptr && alt == nullptr; a = a->andere) {
                if (a->erste != nullptr && a->erste->erstes == t) {
                    alt = a;
                }
            }
            for (alternativen<Z> a = gg.regeln_[n]; a != nullptr && alt == nullptr; a = a->andere) {
                if (a->erste == nullptr) {
                    alt = a;
                }
            }
            return alt;
        }

        // setzevoran returns a copy of b followed by a itself.
        static zeichenfolge<Z> setzevoran(zeichenfolge<Z> a, zeichenfolge<Z> b) {
            zeichenfolge<Z> head = a;
            zeichenfolge<Z>* tail = &head;
            for (; b != nullptr; b = b->weitere) {
                *tail = common::make<zeichenfolgerec<Z>>(b->erstes, a);
                tail = &(*tail)->weitere;
            }
            return head;
        }

        // wendean replaces the leading nonterminal of the form by a copy of
        // the chosen right side; no alternative fails the analysis.
        void wendean(alternativen<Z> a) {
            if (a == nullptr) {
                fail(common::here());
            }
            form = setzevoran(form->weitere, a->erste);
        }

        // druckekonfiguration writes "( unread , form  )" as one line.
        void druckekonfiguration() {
            trace += "( ";
            for (std::size_t p = pos; p <= n(); ++p) {
                trace += image(w[p - 1]) + ' ';
            }
            trace += ", ";
            for (zeichenfolge<Z> s = form; s != nullptr; s = s->weitere) {
                trace += image(s->erstes) + ' ';
            }
            trace += " )\n";
        }
    };

    regelmenge<Z> regeln_{};
};

}  // namespace grammar::grammatikgenerator2
