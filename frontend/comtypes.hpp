// The vocabulary of the While parser: grammar symbols, the node of the
// grammar tree, and `creategb`, which builds the tree from a token list by
// recursive descent.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

#include "common/errors.hpp"
#include "common/rows.hpp"
#include "common/sanitizers.hpp"
#include "frontend/scannerpak.hpp"

namespace comtypes {

inline constexpr std::string_view module_name = "comtypes";

// alphabet holds the grammar symbols, one value per row of alphabet.def and
// in its order: the nonterminals first, then the terminals. Whether a symbol
// is a terminal depends on its value.
enum class alphabet : std::uint8_t {
#define COMTYPES_SYMBOL COMMON_ROW_VALUE
#include "frontend/alphabet.def"
};

// The number of symbols.
inline constexpr int alphabet_count = common::row_count({
#define COMTYPES_SYMBOL COMMON_ROW_COUNT
#include "frontend/alphabet.def"
});

// The first terminal, the value after the last nonterminal: the number of
// nonterminal rows.
inline constexpr alphabet first_terminal = static_cast<alphabet>(common::row_count({
#define COMTYPES_NONTERMINAL COMMON_ROW_COUNT
#define COMTYPES_TERMINAL(symbol, drawn_by, label)
#include "frontend/alphabet.def"
}));

// is_terminal_symbol returns true for IFT .. FALSET, false for PROGRAMM .. BEDINGUNG.
constexpr bool is_terminal_symbol(alphabet a) {
    return a >= first_terminal;
}

struct grknoten;

// grbaum points to a node; null means no node (and, from creategb, no tree).
using grbaum = grknoten*;

// grknoten is a node of the grammar tree. Its symbol `al` selects the
// variant: a nonterminal has its first child `knoten`, a terminal its text
// `exp`; touching the field of the other variant raises the check error.
// Children are linked through `rest`. A leaf's text is a view into
// characters that live as long as the tree: the scanner's copy of the
// program text, or a literal. Nodes come from the arena, hold nothing that
// needs a destructor, and take three words.
struct grknoten {
    // A nonterminal node, still without children.
    explicit grknoten(alphabet symbol);
    // A terminal leaf with its text.
    grknoten(alphabet symbol, std::string_view text);

    const alphabet al;

private:
    std::uint32_t length_ = 0;  // of a leaf's text; beside `al`, in the node's first word

public:
    grbaum rest = nullptr;

    grbaum& knoten();
    [[nodiscard]] std::string_view exp() const;

private:
    union {
        grbaum knoten_;     // a nonterminal's
        const char* text_;  // a terminal's
    };
};

// pstring receives the parser's message; ptokenlist the tokens left over.
using pstring = std::string*;
using ptokenlist = scannerpak::listoftoken*;

// creategb returns the PROGRAMM root of the tree when the whole token list
// forms one program, and writes neither out-parameter. For an empty list it
// returns null and writes neither. Otherwise it returns null, and only when
// `error` is not null does it write: `*error` becomes the parse message and,
// when `ptksleft` is not null too, `*ptksleft` the tokens from the offending
// one on (null when the tokens ran out). With a null `error` it writes
// neither, `ptksleft` included. It prints nothing. Nesting deeper than
// nesting_limit levels of statements or of parentheses, or deeper than the
// stack left to the calling thread can take at stack_per_nesting_level,
// raises STORAGE_ERROR at the place of the construct one level too deep
// (places::while_nesting, if_nesting or parenthesis_nesting).
grbaum creategb(scannerpak::listoftoken tks, ptokenlist ptksleft, pstring error);

// Deeper nesting of statements, or of parentheses, ends the parse with
// STORAGE_ERROR before the recursion can exhaust the stack; on a stack too
// small for it the limit is lower.
inline constexpr int nesting_limit = 10'000;

// The places that the parser's reports of nesting too deep name; their
// lines never move.
namespace places {
inline constexpr common::place while_nesting{module_name, 233};        // a loop
inline constexpr common::place if_nesting{module_name, 239};           // an if-then-else
inline constexpr common::place parenthesis_nesting{module_name, 255};  // a parenthesis
}  // namespace places

// Stack that one level of statements and one of parentheses take together
// in the deepest recursion over a tree (the parser, the conversion, the
// renderers), each started from about where creategb is called: twice or
// more what was measured, some 600 bytes in optimised and unoptimised
// builds of g++ and clang++, some 5,800 under AddressSanitizer.
inline constexpr std::size_t stack_per_nesting_level = common::address_sanitizer ? 12'288 : 1'536;

// isterminal returns true when the symbol of `kn` is a terminal; a null `kn`
// raises the check error.
bool isterminal(grbaum kn);

// isnonterminal returns true when the symbol of `kn` is a nonterminal; a
// null `kn` raises the check error.
bool isnonterminal(grbaum kn);

// ---- The terminals with which a phrase begins, as the parser asks for them ----

// terminals is a set of terminal symbols: one word, a bit per symbol value,
// so that a nonterminal is never a member.
class terminals {
public:
    // The empty set.
    constexpr terminals() = default;

    // The set of the terminals `t`; a nonterminal among them fails to compile.
    template <class... Terminal>
    consteval explicit terminals(Terminal... t) : bits_((bit(t) | ... | 0U)) {}

    // contains returns true when `t` is in the set; false for every nonterminal.
    [[nodiscard]] constexpr bool contains(alphabet t) const {
        return (bits_ >> static_cast<unsigned>(t) & 1U) != 0;
    }

private:
    static consteval std::uint32_t bit(alphabet t) {
        if (!is_terminal_symbol(t)) {
            throw "a set of terminals holds no nonterminal";
        }
        return std::uint32_t{1} << static_cast<unsigned>(t);
    }

    std::uint32_t bits_ = 0;
};
static_assert(alphabet_count <= 32, "a set of terminals is one 32-bit word");

namespace detail {

// The terminal of each token kind.
struct token_terminal {
    scannerpak::tokenart kind;
    alphabet terminal;
};

inline constexpr token_terminal terminal_of[] = {
#define SCANNERPAK_TOKENART(kind, terminal, automaton) {scannerpak::tokenart::kind, alphabet::terminal},
#include "frontend/tokenart.def"
};
static_assert(common::one_row_per_value(terminal_of, &token_terminal::kind, scannerpak::tokenart_count));

// The terminals that can begin each symbol; a terminal has none and is
// marked instead.
struct symbol_row {
    alphabet symbol;
    bool terminal;
    terminals prefix;
};

using enum alphabet;
inline constexpr symbol_row symbol_rows[] = {
#define COMTYPES_NONTERMINAL(symbol, begins_with, drawn_by, label) {symbol, false, begins_with},
#define COMTYPES_TERMINAL(symbol, drawn_by, label) {symbol, true, {}},
#include "frontend/alphabet.def"
};
static_assert(common::one_row_per_value(symbol_rows, &symbol_row::symbol, alphabet_count));
// The nonterminals come first: a symbol's value alone says which it is.
static_assert(std::ranges::all_of(symbol_rows, [](const symbol_row& row) {
    return row.terminal == is_terminal_symbol(row.symbol);
}));

}  // namespace detail

// termtype returns the terminal that a token kind stands for; a value
// outside the sixteen kinds raises the check error.
constexpr alphabet termtype(scannerpak::tokenart t) {
    const auto k = static_cast<std::size_t>(t);
    if (k >= std::size(detail::terminal_of)) {
        common::check_failed(common::here());
    }
    return detail::terminal_of[k].terminal;
}

// prefterms returns the terminals that can begin the nonterminal `nt`, a
// new set at each call that costs one lookup; a terminal `nt` raises the
// check error.
constexpr terminals prefterms(alphabet nt) {
    if (is_terminal_symbol(nt)) {
        common::check_failed(common::here());
    }
    return detail::symbol_rows[static_cast<std::size_t>(nt)].prefix;
}

}  // namespace comtypes
