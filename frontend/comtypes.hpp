// The vocabulary of the While parser: grammar symbols, the node of the
// grammar tree, and `creategb`, which builds the tree from a token list by
// recursive descent.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/sanitizers.hpp"
#include "frontend/scannerpak.hpp"

namespace comtypes {

// alphabet holds the grammar symbols, one value per row of alphabet.def and
// in its order: the nonterminals first, then the terminals. Whether a symbol
// is a terminal depends on its value.
enum class alphabet : std::uint8_t {
#define COMTYPES_SYMBOL(symbol, drawn_by, name) symbol,
#include "frontend/alphabet.def"
};

// The number of symbols.
inline constexpr int alphabet_count = 0
#define COMTYPES_SYMBOL(symbol, drawn_by, name) +1
#include "frontend/alphabet.def"
    ;

// The first terminal, the value after the last nonterminal.
inline constexpr alphabet first_terminal = static_cast<alphabet>(0
#define COMTYPES_NONTERMINAL(symbol, begins_with, drawn_by, name) +1
#define COMTYPES_TERMINAL(symbol, drawn_by, name)
#include "frontend/alphabet.def"
);

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

    [[nodiscard]] grbaum knoten() const;
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
// 10,000 levels of statements or of parentheses, or deeper than the stack
// left to the calling thread can take at stack_per_nesting_level, raises
// STORAGE_ERROR.
grbaum creategb(scannerpak::listoftoken tks, ptokenlist ptksleft, pstring error);

// Deeper nesting of statements, or of parentheses, ends the parse with
// STORAGE_ERROR before the recursion can exhaust the stack; on a stack too
// small for it the limit is lower.
inline constexpr int nesting_limit = 10'000;

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

// ---- Seen by the parser (and by tests) ----

// terminals is a set of terminal symbols.
struct terminals {
    std::array<bool, alphabet_count - static_cast<int>(first_terminal)> member{};

    // contains returns true when the terminal `t` is in the set; false for
    // every nonterminal.
    [[nodiscard]] bool contains(alphabet t) const;
};

// termtype returns the terminal that a token kind stands for; a value
// outside the sixteen kinds raises the check error.
alphabet termtype(scannerpak::tokenart t);

// prefterms returns the terminals that can begin the nonterminal `nt`; a
// terminal `nt` raises the check error.
terminals prefterms(alphabet nt);

}  // namespace comtypes
