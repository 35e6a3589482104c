// The scanner of the While language: token kinds, the token list, and
// `scanner`, which cuts a program text into tokens by the longest prefix that
// one of sixteen token automata accepts.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "common/errors.hpp"
#include "common/rows.hpp"
#include "dea/dea.hpp"

namespace scannerpak {

inline constexpr std::string_view module_name = "scannerpak";

// tokenart is the kind of a token, one value per row of tokenart.def and in
// its order: the order indexes the token automata, and on equal prefix
// lengths the later kind wins.
enum class tokenart : std::uint8_t {
#define SCANNERPAK_TOKENART COMMON_ROW_VALUE
#include "frontend/tokenart.def"
};

// The number of kinds.
inline constexpr int tokenart_count = common::row_count({
#define SCANNERPAK_TOKENART COMMON_ROW_COUNT
#include "frontend/tokenart.def"
});

struct elem;

// listoftoken points to the first cell of a token list; null is the empty list.
using listoftoken = elem*;

// elem is one token: its kind, its text exactly as it stands in the program,
// and the next cell, null in a new cell. The text is a view into characters
// that live as long as the cell (the scanner's copy of the program text, or
// a literal). Cells come from the arena, hold nothing that needs a
// destructor, and take three words.
struct elem {
    elem(tokenart kind, std::string_view text)
        : token(kind), length_(static_cast<std::uint32_t>(text.size())), text_(text.data()) {}

    // string returns the token's text.
    [[nodiscard]] std::string_view string() const { return {text_, length_}; }

    tokenart token;

private:
    std::uint32_t length_;  // of the text; beside the kind, in the cell's first word
    const char* text_;

public:
    listoftoken rest = nullptr;
};

// The scanner's error on bad input, by its full name.
inline constexpr std::string_view eingabefehler = "SCANNERPAK.EINGABEFEHLER";

// The places that the scanner's two reports name; their lines never move.
namespace places {
// A character that is neither white space nor printable where a token would begin.
inline constexpr common::place not_printable{module_name, 413};
// A printable character with which no token begins.
inline constexpr common::place no_token{module_name, 434};
}  // namespace places

// scanner returns the token list of the text `w`, one new cell per token in
// text order, or null when `w` holds nothing but blanks, tabs, carriage
// returns and line feeds. At a character that is neither such white space
// nor printable ('!' .. '~'), or a printable one with which no token begins,
// it writes its message lines to standard output and raises eingabefehler at
// places::not_printable or places::no_token. The cells' texts are views into
// one copy of `w` that the scanner keeps in the arena beside them, so the
// list, and every tree made from it, stays valid whatever becomes of `w`,
// until the arena scope open at the call gives the cells and the copy back.
listoftoken scanner(std::string_view w);

// druckelistoftoken writes a line end and then one line per token,
// "(KIND,\"text\")", to standard output; a cell whose kind is none of the
// sixteen raises the check error.
void druckelistoftoken(listoftoken list);

// ---- The token automata ----

// The token automata run over the printable characters without the blank.
// This range is the one statement of which characters are printable.
using dea_type = dea::dea_type<'!', '~'>;
using dea_ref = const dea_type*;

// scandeas returns the sixteen token automata, indexed by tokenart: the
// definition of the tokens. A token is the longest prefix that one of them
// accepts, on equal lengths that of the later kind. They are built on the
// first call, outside the arena, and never change.
const std::array<dea_ref, tokenart_count>& scandeas();

}  // namespace scannerpak
