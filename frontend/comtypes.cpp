// The grammar tree of the While parser and its recursive-descent builder.
#include "frontend/comtypes.hpp"

#include <cstdint>
#include <utility>

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "common/image.hpp"

namespace comtypes {
namespace {

// A field of the other variant names the line of the node's declaration.
constexpr common::place variant_guard{"comtypes", 85};

using scannerpak::tokenart;
using enum alphabet;

// ORDER TOKENART: the terminal of each token kind.
constexpr std::array<alphabet, scannerpak::tokenart_count> terminal_of = {
    ZAHLT, NAMET, ROPT,  OPT, AUFT,  ZUT,    ZUWEISUNGT, SEMIKOLONT,
    IFT,   THENT, ELSET, FIT, SKIPT, WHILET, DOT,        ODT,
};

// The bit of a terminal in a set of terminals.
constexpr std::uint32_t bit(alphabet t) {
    return std::uint32_t{1} << (static_cast<unsigned>(t) - static_cast<unsigned>(first_terminal));
}

constexpr std::uint32_t statement_start = bit(IFT) | bit(NAMET) | bit(SKIPT) | bit(WHILET);
constexpr std::uint32_t expression_start = bit(NAMET) | bit(ZAHLT) | bit(AUFT);

// ORDER ALPHABET: the terminals that can begin each nonterminal.
constexpr std::array<std::uint32_t, static_cast<std::size_t>(first_terminal)> first_terminals = {
    statement_start,                              // PROGRAMM
    statement_start,                              // ANWF
    statement_start,                              // ANW
    bit(SKIPT),                                   // LEEREANWEISUNG
    bit(NAMET),                                   // ZUWEISUNG
    bit(IFT),                                     // BEDINGTEANWEISUNG
    bit(WHILET),                                  // SCHLEIFE
    expression_start,                             // AUSDRUCK
    expression_start | bit(TRUET) | bit(FALSET),  // BEDINGUNG
};

// Deeper nesting of statements, or of parentheses, ends the parse with
// STORAGE_ERROR before the recursion can exhaust the stack.
constexpr int nesting_limit = 10'000;

// Counts one level of nesting for as long as it lives.
class nesting_level {
public:
    nesting_level(int& depth, int line) : depth_(depth) {
        if (++depth_ > nesting_limit) {
            --depth_;
            common::raise(common::storage_error_name, common::place{"comtypes", line});
        }
    }
    ~nesting_level() { --depth_; }
    nesting_level(const nesting_level&) = delete;
    nesting_level& operator=(const nesting_level&) = delete;

private:
    int& depth_;
};

// Where the next child of a node is hung: the parent's first-child field,
// then the `rest` of the child hung last.
struct children {
    grbaum* slot;

    void add(grbaum node) {
        *slot = node;
        slot = &node->rest;
    }
    // Moves past a child that a sub-parser has hung into `slot`.
    void skip() { slot = &(*slot)->rest; }
};

// The parse state of one call of creategb and its nested parsers. Each
// parser returns true when it has read a whole phrase of its nonterminal and
// hung its subtree; false leaves `pprev` at the token where the parse stopped
// (null when the tokens ran out). Nothing is undone on failure: the caller
// drops the whole tree.
class parser {
public:
    explicit parser(scannerpak::listoftoken tks) : pprev(tks) {}

    scannerpak::listoftoken pprev;
    std::int64_t prevpos = 1;

    grbaum cprogramm() {
        if (!begins(PROGRAMM)) {
            return nullptr;
        }
        grbaum prtn = common::make<grknoten>(PROGRAMM);
        return canwf(&prtn->knoten()) ? prtn : nullptr;
    }

private:
    int statement_depth = 0;
    int parenthesis_depth = 0;

    // nextprev consumes the current token.
    void nextprev() {
        if (pprev != nullptr) {
            pprev = pprev->rest;
            ++prevpos;
        }
    }

    [[nodiscard]] alphabet current() const { return termtype(pprev->token); }

    // at returns true when a token is left and it stands for the terminal `t`.
    [[nodiscard]] bool at(alphabet t) const { return pprev != nullptr && current() == t; }

    // begins returns true when a token is left and it can begin `nt`.
    [[nodiscard]] bool begins(alphabet nt) const {
        return pprev != nullptr && prefterms(nt).contains(current());
    }

    // leaf returns a new leaf of `t` holding the current token's text.
    [[nodiscard]] grbaum leaf(alphabet t) const { return common::make<grknoten>(t, pprev->string); }

    // take hangs a leaf of `t` with the current token's text and consumes the token.
    void take(children& c, alphabet t) {
        c.add(leaf(t));
        nextprev();
    }

    // expect takes the current token as a leaf of `t` when the phrase before
    // it was read and the token stands for `t`; otherwise the parse stops.
    bool expect(bool read, children& c, alphabet t) {
        if (!read || !at(t)) {
            return false;
        }
        take(c, t);
        return true;
    }

    // canwf hangs a statement list into `slot`: a right-nested chain of ANWF
    // nodes, one per statement, read in a loop.
    bool canwf(grbaum* slot) {
        while (true) {
            if (!begins(ANWF)) {
                return false;
            }
            grbaum anwf = common::make<grknoten>(ANWF);
            *slot = anwf;
            children list{&anwf->knoten()};
            if (!canw(list)) {
                return false;
            }
            if (!at(SEMIKOLONT)) {
                return true;  // the token after the list is the caller's
            }
            grbaum semikolon = common::make<grknoten>(SEMIKOLONT, ";");
            list.add(semikolon);
            nextprev();
            slot = &semikolon->rest;
        }
    }

    bool canw(children& list) {
        const grbaum anw = opening(list, ANW);
        if (anw == nullptr) {
            return false;
        }
        children statement{&anw->knoten()};
        switch (current()) {
            case IFT:
                return cbedanw(statement);
            case NAMET:
                return czuweisung(statement);
            case SKIPT:
                return cleereanw(statement);
            case WHILET:
                return cschleife(statement);
            default:
                return false;
        }
    }

    bool cleereanw(children& parent) {
        grbaum node = common::make<grknoten>(LEEREANWEISUNG);
        parent.add(node);
        children c{&node->knoten()};
        take(c, SKIPT);
        return true;
    }

    bool czuweisung(children& parent) {
        // Look ahead: a name, ":=" and a third token of any kind.
        const scannerpak::listoftoken next = pprev->rest;
        if (current() != NAMET || next == nullptr || termtype(next->token) != ZUWEISUNGT ||
            next->rest == nullptr) {
            return false;
        }
        grbaum node = common::make<grknoten>(ZUWEISUNG);
        parent.add(node);
        children c{&node->knoten()};
        c.add(leaf(NAMET));
        c.add(common::make<grknoten>(ZUWEISUNGT, ":="));
        nextprev();
        nextprev();
        return causdruck(c);
    }

    // statement_list reads the list inside a compound statement, then the
    // keyword leaf `closing` that must follow it.
    bool statement_list(children& c, alphabet closing) {
        const bool read = canwf(c.slot);
        if (read) {
            c.skip();
        }
        return expect(read, c, closing);
    }

    // compound_head hangs the statement node `symbol` of a loop or an
    // if-then-else, with its keyword leaf, its condition and the keyword leaf
    // `after` that must follow the condition; `c` is left after that leaf.
    bool compound_head(children& parent, alphabet symbol, alphabet keyword, alphabet after, children& c) {
        grbaum node = common::make<grknoten>(symbol);
        parent.add(node);
        c = children{&node->knoten()};
        take(c, keyword);
        return expect(cbedingung(c), c, after);
    }

    bool cschleife(children& parent) {
        const nesting_level level(statement_depth, __LINE__);
        children c{nullptr};
        return compound_head(parent, SCHLEIFE, WHILET, DOT, c) && statement_list(c, ODT);
    }

    bool cbedanw(children& parent) {
        const nesting_level level(statement_depth, __LINE__);
        children c{nullptr};
        return compound_head(parent, BEDINGTEANWEISUNG, IFT, THENT, c) && statement_list(c, ELSET) &&
               statement_list(c, FIT);
    }

    // opening hangs a new node of `nt` as the next child of `c` when the
    // current token can begin `nt`; otherwise it builds nothing and gives null.
    grbaum opening(children& c, alphabet nt) {
        if (!begins(nt)) {
            return nullptr;
        }
        const grbaum node = common::make<grknoten>(nt);
        c.add(node);
        return node;
    }

    // causdruck hangs an AUSDRUCK node as the next child of `c`.
    bool causdruck(children& c) {
        const grbaum node = opening(c, AUSDRUCK);
        if (node == nullptr) {
            return false;
        }
        const alphabet t = current();
        children operation{&node->knoten()};
        if (t == ZAHLT || t == NAMET) {
            take(operation, t);
            return true;
        }
        const nesting_level level(parenthesis_depth, __LINE__);
        take(operation, AUFT);
        return expect(causdruck(operation), operation, OPT) && expect(causdruck(operation), operation, ZUT);
    }

    // cbedingung hangs a BEDINGUNG node as the next child of `c`.
    bool cbedingung(children& c) {
        const grbaum node = opening(c, BEDINGUNG);
        if (node == nullptr) {
            return false;
        }
        const alphabet t = current();
        children comparison{&node->knoten()};
        if (t == TRUET || t == FALSET) {  // no token kind yields these; kept for the tree's sake
            take(comparison, t);
            return true;
        }
        return expect(causdruck(comparison), comparison, ROPT) && causdruck(comparison);
    }
};

}  // namespace

grknoten::grknoten(alphabet symbol) : al(symbol) {}

grknoten::grknoten(alphabet symbol, std::string text) : al(symbol), exp_(std::move(text)) {}

grbaum grknoten::knoten() const {
    common::check(!is_terminal_symbol(al), variant_guard);
    return knoten_;
}

grbaum& grknoten::knoten() {
    common::check(!is_terminal_symbol(al), variant_guard);
    return knoten_;
}

const std::string& grknoten::exp() const {
    common::check(is_terminal_symbol(al), variant_guard);
    return exp_;
}

std::string& grknoten::exp() {
    common::check(is_terminal_symbol(al), variant_guard);
    return exp_;
}

bool isterminal(grbaum kn) {
    return is_terminal_symbol(common::not_null(kn, common::place{"comtypes", __LINE__})->al);
}

bool isnonterminal(grbaum kn) {
    return !is_terminal_symbol(common::not_null(kn, common::place{"comtypes", __LINE__})->al);
}

bool terminals::contains(alphabet t) const {
    return is_terminal_symbol(t) &&
           member[static_cast<std::size_t>(t) - static_cast<std::size_t>(first_terminal)];
}

alphabet termtype(tokenart t) {
    return terminal_of[static_cast<std::size_t>(t)];
}

terminals prefterms(alphabet nt) {
    terminals result;
    if (is_terminal_symbol(nt)) {
        return result;  // a terminal begins nothing here
    }
    const std::uint32_t members = first_terminals[static_cast<std::size_t>(nt)];
    for (std::size_t t = 0; t < result.member.size(); ++t) {
        result.member[t] = (members >> t & 1U) != 0;
    }
    return result;
}

grbaum creategb(scannerpak::listoftoken tks, ptokenlist ptksleft, pstring error) {
    if (tks == nullptr) {
        return nullptr;
    }
    parser p(tks);
    grbaum prtn = p.cprogramm();
    if (prtn != nullptr && p.pprev == nullptr) {
        return prtn;
    }
    if (error == nullptr) {
        return nullptr;
    }
    if (p.pprev != nullptr) {
        *error = "Parser Fehler bei Tokenposition ";
        common::append_image(*error, p.prevpos);
        *error += ": \"";
        *error += p.pprev->string;
        *error += '"';
    } else {
        *error = "Allgemeiner Parser Fehler: Kein vollstaendiges Programm";
    }
    if (ptksleft != nullptr) {
        *ptksleft = p.pprev;
    }
    return nullptr;
}

}  // namespace comtypes
