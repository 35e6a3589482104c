// The grammar tree of the While parser and its recursive-descent builder.
#include "frontend/comtypes.hpp"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string_view>
#include <type_traits>

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "common/image.hpp"
#include "common/program.hpp"
#include "common/rows.hpp"

namespace comtypes {
namespace {

constexpr std::string_view module_name = "comtypes";

// Fixed places: the "comtypes:line" texts that reports and tests rely on,
// kept whatever the layout of this file.
namespace places {
// A field of the other variant names the line of the node's declaration.
constexpr common::place variant_guard{module_name, 85};
// Nesting too deep: a loop, an if-then-else, a parenthesis.
constexpr common::place while_nesting{module_name, 233};
constexpr common::place if_nesting{module_name, 239};
constexpr common::place parenthesis_nesting{module_name, 255};
}  // namespace places

using scannerpak::tokenart;
using enum alphabet;

// The terminal of each token kind.
struct token_terminal {
    tokenart kind;
    alphabet terminal;
};

constexpr token_terminal terminal_of[] = {
#define SCANNERPAK_TOKENART(kind, terminal, automaton) {tokenart::kind, terminal},
#include "frontend/tokenart.def"
};
static_assert(common::one_row_per_value(terminal_of, &token_terminal::kind, scannerpak::tokenart_count));

// The bit of a terminal in a set of terminals: a set is one 32-bit word.
static_assert(alphabet_count - static_cast<int>(first_terminal) <= 32);
constexpr std::uint32_t bit(alphabet t) {
    return std::uint32_t{1} << (static_cast<unsigned>(t) - static_cast<unsigned>(first_terminal));
}

// The set of the terminals `t`.
template <class... Terminal>
constexpr std::uint32_t starts(Terminal... t) {
    return (bit(t) | ...);
}

// The terminals that can begin each symbol; a terminal has no row of its own
// in prefterms and is marked instead.
struct symbol_row {
    alphabet symbol;
    bool terminal;
    std::uint32_t first_terminals;
};

constexpr symbol_row symbol_rows[] = {
#define COMTYPES_NONTERMINAL(symbol, begins_with, drawn_by, name) {symbol, false, begins_with},
#define COMTYPES_TERMINAL(symbol, drawn_by, name) {symbol, true, 0},
#include "frontend/alphabet.def"
};
static_assert(common::one_row_per_value(symbol_rows, &symbol_row::symbol, alphabet_count));
// The nonterminals come first: a symbol's value alone says which it is.
static_assert(std::ranges::all_of(symbol_rows, [](const symbol_row& row) {
    return row.terminal == is_terminal_symbol(row.symbol);
}));

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

    // begins returns true when a token is left and it can begin `nt`: the
    // test of prefterms(nt), on its row's bits.
    [[nodiscard]] bool begins(alphabet nt) const {
        return pprev != nullptr &&
               (symbol_rows[static_cast<std::size_t>(nt)].first_terminals & bit(current())) != 0;
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
        children c = hang(parent, LEEREANWEISUNG);
        take(c, SKIPT);
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
        children c = hang(parent, SCHLEIFE);
        return compound_head(c, WHILET, DOT) && statement_list(c, ODT);
    }

    // BEDINGTEANWEISUNG -> IFT BEDINGUNG THENT ANWF ELSET ANWF FIT
    bool cbedanw(children& parent) {
        const nesting_level level(statement_depth, places::if_nesting);
        children c = hang(parent, BEDINGTEANWEISUNG);
        return compound_head(c, IFT, THENT) && statement_list(c, ELSET) && statement_list(c, FIT);
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

grbaum grknoten::knoten() const {
    common::check(!is_terminal_symbol(al), places::variant_guard);
    return knoten_;
}

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

bool terminals::contains(alphabet t) const {
    return is_terminal_symbol(t) &&
           member[static_cast<std::size_t>(t) - static_cast<std::size_t>(first_terminal)];
}

alphabet termtype(tokenart t) {
    const auto k = static_cast<std::size_t>(t);
    common::check(k < std::size(terminal_of), common::here());
    return terminal_of[k].terminal;
}

terminals prefterms(alphabet nt) {
    // Only nonterminals have first terminals.
    common::check(!is_terminal_symbol(nt), common::here());
    terminals result;
    const std::uint32_t members = symbol_rows[static_cast<std::size_t>(nt)].first_terminals;
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
