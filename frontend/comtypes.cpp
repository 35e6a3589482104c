// The grammar tree of the While parser and its recursive-descent builder.
#include "frontend/comtypes.hpp"

#include <cstdint>
#include <optional>
#include <string_view>
#include <type_traits>

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "common/image.hpp"
#include "common/program.hpp"

namespace comtypes {

// The place that a guard on a node's variant names: a fixed line number that
// the report shows, not where grknoten stands in the header (see
// common/errors.hpp).
namespace places {
constexpr common::place variant_guard{module_name, 85};
}  // namespace places

namespace {

using scannerpak::tokenart;
using enum alphabet;

// Counts one level of nesting for as long as it lives.
class nesting_level {
public:
    nesting_level(int& depth, common::place where) : depth_(depth) {
        if (++depth_ > nesting_limit) {
            --depth_;
            common::raise(common::storage_error_name, where);
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

    // PROGRAMM -> ANWF, over the whole token list (creategb checks that no token is left)
    grbaum cprogramm() {
        if (!begins(PROGRAMM)) {
            return nullptr;
        }
        grbaum prtn = common::make<grknoten>(PROGRAMM);
        return canwf(children{&prtn->knoten()}) ? prtn : nullptr;
    }

private:
    int statement_depth = nesting_limit - common::levels_that_fit(nesting_limit, stack_per_nesting_level);
    int parenthesis_depth = statement_depth;  // the levels the stack left cannot take count as taken

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

    // begins is the opening of a nested parser: it returns true when a token
    // is left and its terminal is in prefterms(nt).
    [[nodiscard]] bool begins(alphabet nt) const {
        const terminals prefix = prefterms(nt);
        return pprev != nullptr && prefix.contains(current());
    }

    // hang adds a new node of the nonterminal `nt` to `c` and returns where
    // its own children go.
    static children hang(children& c, alphabet nt) {
        const grbaum node = common::make<grknoten>(nt);
        c.add(node);
        return children{&node->knoten()};
    }

    // opening hangs a node of `nt` as hang does when the current token can
    // begin `nt`; otherwise it builds nothing and gives no place.
    std::optional<children> opening(children& c, alphabet nt) {
        if (!begins(nt)) {
            return std::nullopt;
        }
        return hang(c, nt);
    }

    // take hangs a leaf of `t` with the current token's text and consumes the token.
    void take(children& c, alphabet t) {
        c.add(common::make<grknoten>(t, pprev->string()));
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

    // ANWF -> ANW | ANW SEMIKOLONT ANWF
    // canwf hangs a statement list as the next child in `where`: a
    // right-nested chain of ANWF nodes, one per statement, read in a loop.
    bool canwf(children where) {
        while (true) {
            std::optional<children> list = opening(where, ANWF);
            if (!list || !canw(*list)) {
                return false;
            }
            if (!at(SEMIKOLONT)) {
                return true;  // the token after the list is the caller's
            }
            list->add(common::make<grknoten>(SEMIKOLONT, ";"));
            nextprev();
            where = *list;  // the rest of the list follows the ";"
        }
    }

    // ANW -> BEDINGTEANWEISUNG | ZUWEISUNG | LEEREANWEISUNG | SCHLEIFE, by the first token
    bool canw(children& list) {
        std::optional<children> statement = opening(list, ANW);
        if (!statement) {
            return false;
        }
        switch (current()) {
            case IFT:
                return cbedanw(*statement);
            case NAMET:
                return czuweisung(*statement);
            case SKIPT:
                return cleereanw(*statement);
            case WHILET:
                return cschleife(*statement);
            default:
                return false;
        }
    }

    // LEEREANWEISUNG -> SKIPT
    bool cleereanw(children& parent) {
        std::optional<children> c = opening(parent, LEEREANWEISUNG);
        if (!c) {
            return false;
        }
        take(*c, SKIPT);
        return true;
    }

    // ZUWEISUNG -> NAMET ZUWEISUNGT AUSDRUCK
    bool czuweisung(children& parent) {
        // Look ahead: a name, ":=" and a third token of any kind.
        const scannerpak::listoftoken next = pprev->rest;
        if (current() != NAMET || next == nullptr || termtype(next->token) != ZUWEISUNGT ||
            next->rest == nullptr) {
            return false;
        }
        children c = hang(parent, ZUWEISUNG);
        c.add(common::make<grknoten>(NAMET, pprev->string()));
        c.add(common::make<grknoten>(ZUWEISUNGT, ":="));
        nextprev();
        nextprev();
        return causdruck(c);
    }

    // compound_head reads the head of a loop or an if-then-else, WHILET
    // BEDINGUNG DOT or IFT BEDINGUNG THENT: the keyword leaf `keyword`, the
    // condition and the keyword leaf `after`.
    bool compound_head(children& c, alphabet keyword, alphabet after) {
        take(c, keyword);
        return expect(cbedingung(c), c, after);
    }

    // statement_list reads a statement list inside a compound statement and
    // the keyword leaf `closing` after it: ANWF ODT, ANWF ELSET or ANWF FIT.
    bool statement_list(children& c, alphabet closing) {
        const bool read = canwf(c);
        if (read) {
            c.skip();
        }
        return expect(read, c, closing);
    }

    // SCHLEIFE -> WHILET BEDINGUNG DOT ANWF ODT
    bool cschleife(children& parent) {
        const nesting_level level(statement_depth, places::while_nesting);
        std::optional<children> c = opening(parent, SCHLEIFE);
        if (!c) {
            return false;
        }
        return compound_head(*c, WHILET, DOT) && statement_list(*c, ODT);
    }

    // BEDINGTEANWEISUNG -> IFT BEDINGUNG THENT ANWF ELSET ANWF FIT
    bool cbedanw(children& parent) {
        const nesting_level level(statement_depth, places::if_nesting);
        std::optional<children> c = opening(parent, BEDINGTEANWEISUNG);
        if (!c) {
            return false;
        }
        return compound_head(*c, IFT, THENT) && statement_list(*c, ELSET) && statement_list(*c, FIT);
    }

    // AUSDRUCK -> ZAHLT | NAMET | AUFT AUSDRUCK OPT AUSDRUCK ZUT
    // causdruck hangs an AUSDRUCK node as the next child of `c`.
    bool causdruck(children& c) {
        std::optional<children> operation = opening(c, AUSDRUCK);
        if (!operation) {
            return false;
        }
        const alphabet t = current();
        if (t == ZAHLT || t == NAMET) {
            take(*operation, t);
            return true;
        }
        const nesting_level level(parenthesis_depth, places::parenthesis_nesting);
        take(*operation, AUFT);
        return expect(causdruck(*operation), *operation, OPT) &&
               expect(causdruck(*operation), *operation, ZUT);
    }

    // BEDINGUNG -> AUSDRUCK ROPT AUSDRUCK | TRUET | FALSET
    // cbedingung hangs a BEDINGUNG node as the next child of `c`.
    bool cbedingung(children& c) {
        std::optional<children> comparison = opening(c, BEDINGUNG);
        if (!comparison) {
            return false;
        }
        const alphabet t = current();
        if (t == TRUET || t == FALSET) {  // a truth-value condition; no token kind yields one yet
            take(*comparison, t);
            return true;
        }
        return expect(causdruck(*comparison), *comparison, ROPT) && causdruck(*comparison);
    }
};

}  // namespace

grknoten::grknoten(alphabet symbol) : al(symbol), knoten_(nullptr) {}

grknoten::grknoten(alphabet symbol, std::string_view text)
    : al(symbol), length_(static_cast<std::uint32_t>(text.size())), text_(text.data()) {}

static_assert(std::is_trivially_destructible_v<grknoten> && sizeof(grknoten) == 3 * sizeof(void*));

grbaum& grknoten::knoten() {
    common::check(!is_terminal_symbol(al), places::variant_guard);
    return knoten_;
}

std::string_view grknoten::exp() const {
    common::check(is_terminal_symbol(al), places::variant_guard);
    return {text_, length_};
}

bool isterminal(grbaum kn) {
    return is_terminal_symbol(common::not_null(kn, common::here())->al);
}

bool isnonterminal(grbaum kn) {
    return !is_terminal_symbol(common::not_null(kn, common::here())->al);
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
        *error += p.pprev->string();
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
