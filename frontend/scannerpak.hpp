// The scanner of the While language: token kinds, the token list, and
// `scanner`, which cuts a program text into tokens by the longest prefix that
// one of sixteen token automata accepts.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "dea/dea.hpp"

namespace scannerpak {

// tokenart is the kind of a token, one value per row of tokenart.def and in
// its order: the order indexes the token automata, and on equal prefix
// lengths the later kind wins.
enum class tokenart : std::uint8_t {
#define SCANNERPAK_TOKENART(kind, terminal, automaton) kind,
#include "frontend/tokenart.def"
};

// The number of kinds.
inline constexpr int tokenart_count = 0
#define SCANNERPAK_TOKENART(kind, terminal, automaton) +1
#include "frontend/tokenart.def"
    ;

// image returns the literal name of a kind in upper case ("GANZEZAHL_TOKEN");
// a value outside the kinds raises the check error.
std::string_view image(tokenart t);

struct elem;

// listoftoken points to the first cell of a token list; null is the empty list.
using listoftoken = elem*;

// elem is one token: its kind, its text exactly as it stands in the program,
// and the next cell. Cells come from the arena and live to the program's end.
struct elem {
    tokenart token;
    std::string string;
    listoftoken rest = nullptr;
};

// The scanner's error on bad input, by its full name.
inline constexpr std::string_view eingabefehler = "SCANNERPAK.EINGABEFEHLER";

// scanner returns the token list of the text `w`, one new cell per token in
// text order, or null when `w` holds nothing but blanks, tabs, carriage
// returns and line feeds. At a character that is neither such white space
// nor printable ('!' .. '~'), or a printable one with which no token begins,
// it writes its message lines to standard output and raises eingabefehler.
listoftoken scanner(std::string_view w);

// druckelistoftoken writes a line end and then one line per token,
// "(KIND,\"text\")", to standard output.
void druckelistoftoken(listoftoken list);

// ---- The token automata, seen by the scanner (and by tests) ----

// The token automata run over the printable characters without the blank.
using dea_type = dea::dea_type<'!', '~'>;
using dea_ref = const dea_type*;

// scandeas returns the sixteen token automata, indexed by tokenart; they are
// built once and never change.
const std::array<dea_ref, tokenart_count>& scandeas();

// erkanntespraefix returns the length of the longest prefix of `w` that the
// automaton `d` accepts, 0 when it accepts none. A character outside '!' ..
// '~' ends the run like a step into the trap state. It reads `w` only up to
// the character on which the run enters the trap. A null `d` or a state
// outside the table raises the check error.
std::int32_t erkanntespraefix(dea_ref d, std::string_view w);

// pruefe writes, without a line end, "\"w\" gehoert", " nicht" when the run
// over the whole word ends in a state that is not final, and
// " zum Sprachschatz". A character of `w` outside '!' .. '~' raises the
// check error before anything is written.
void pruefe(const dea_type& automat, std::string_view w);

}  // namespace scannerpak
