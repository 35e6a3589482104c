// The scanner of the While language: token kinds, the token list, and
// `scanner`, which cuts a program text into tokens by the longest prefix that
// one of sixteen token automata accepts.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

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
// and the next cell. The text is a view into characters that live as long as
// the cell (the scanner's copy of the program text, or a literal). Cells come
// from the arena, hold nothing that needs a destructor, and are 24 bytes.
struct elem {
    elem(tokenart kind, std::string_view text, listoftoken next = nullptr)
        : token(kind), length(static_cast<std::uint32_t>(text.size())), text(text.data()), rest(next) {}

    // string returns the token's text.
    [[nodiscard]] std::string_view string() const { return {text, length}; }

    tokenart token;
    std::uint32_t length;  // of the text; beside the kind, so that a cell takes three words
    const char* text;
    listoftoken rest = nullptr;
};

// The scanner's error on bad input, by its full name.
inline constexpr std::string_view eingabefehler = "SCANNERPAK.EINGABEFEHLER";

// scanner returns the token list of the text `w`, one new cell per token in
// text order, or null when `w` holds nothing but blanks, tabs, carriage
// returns and line feeds. At a character that is neither such white space
// nor printable ('!' .. '~'), or a printable one with which no token begins,
// it writes its message lines to standard output and raises eingabefehler.
// The cells' texts are views into one copy of `w` that the scanner keeps in
// the arena beside them, so the list, and every tree made from it, stays
// valid whatever becomes of `w`, until the arena scope open at the call
// gives the cells and the copy back.
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

// ---- Tokens by the sixteen automata, and by one automaton derived from them ----

// token_match is the token at the start of a text: its kind and its length,
// the longest prefix that a token automaton accepts; length 0 when none
// accepts a prefix (the kind is then of no meaning).
struct token_match {
    tokenart kind;
    std::int32_t length;
};

// longest_match runs every automaton of `automata` over `text` through
// erkanntespraefix and returns the longest length, on equal lengths the later
// kind. This is the definition of a token; the scanner runs the derived
// automaton below instead, which gives the same for every text.
token_match longest_match(const std::array<dea_ref, tokenart_count>& automata, std::string_view text);

// token_automaton is one deterministic automaton derived from sixteen token
// automata: their product, where each part stops at its trap, and each state
// knows which kind a part that has just stopped, or that stands at the end of
// the text, contributes. It reproduces erkanntespraefix exactly, its look
// back of one step included (so also for automata whose final states do not
// lead only to final states or the trap), and a character outside '!' .. '~'
// stops every part, as it does there. One step is one lookup in a table of
// 256 columns per state.
class token_automaton {
public:
    // Derives the automaton; a null automaton, one whose start is its trap
    // (n = 0), or a successor outside its automaton's states, raises the
    // check error.
    explicit token_automaton(const std::array<dea_ref, tokenart_count>& automata);

    // match returns longest_match(automata, text) of the automata it was
    // derived from, reading `text` only up to the character on which the last
    // part stops.
    [[nodiscard]] token_match match(std::string_view text) const;

private:
    // What a state contributes: a kind and a length relative to the number
    // of characters read; none when no part contributes.
    struct contribution {
        std::int8_t kind = -1;  // -1: none
        std::int8_t back = 0;   // 0: all characters read so far; 1: all but the last
    };
    struct state_info {
        contribution at_step;  // parts that stopped on the step into this state
        contribution at_end;   // parts still running, when the text ends here
        bool stopped;          // every part has stopped: the token is cut
    };

    // A cell of the table: the next state, marked when that state contributes
    // on the step into it or is stopped.
    static constexpr std::uint16_t marked = 0x8000;
    static constexpr std::uint16_t state_bits = 0x7fff;

    std::vector<std::uint16_t> next_;  // 256 columns per state
    std::vector<state_info> info_;
};

// scanner_automaton returns the automaton derived from scandeas(), built once.
const token_automaton& scanner_automaton();

// plain_scanner is `scanner` by the definition: the sixteen automata through
// longest_match at every token, where `scanner` runs the derived automaton.
// It is kept as the reference that the fast scanner is tested against.
listoftoken plain_scanner(std::string_view w);

// pruefe writes, without a line end, "\"w\" gehoert", " nicht" when the run
// over the whole word ends in a state that is not final, and
// " zum Sprachschatz". A character of `w` outside '!' .. '~' raises the
// check error before anything is written.
void pruefe(const dea_type& automat, std::string_view w);

}  // namespace scannerpak
