// The scanner's fast form, internal to scannerpak: one automaton derived
// from the sixteen token automata, which finds in one pass the token that
// running each of them would give. The scanner cuts its tokens with it; its
// tests compare it with the sixteen, and the fuzz targets build it before
// their first input. No other module needs to see it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

#include "frontend/scannerpak.hpp"

namespace scannerpak {

// token_match is the token at the start of a text: its kind and its length,
// the longest prefix that a token automaton accepts; length 0 when none
// accepts a prefix (the kind is then of no meaning).
struct token_match {
    tokenart kind;
    std::int32_t length;
};

// token_automaton is one deterministic automaton derived from sixteen token
// automata: in one pass it finds the token that running each of them from
// the start of the text gives. Each automaton is one part of its state. A
// part's run goes until it enters its trap state or the text ends; a
// character outside '!' .. '~' ends it like a step into the trap. The run
// yields the number of steps when it ends in a final state, one less when
// only the state before its last step is final, and nothing otherwise: the
// longest accepted prefix, for automata whose final states lead only to
// final states or the trap, as the sixteen do. Each state knows what the
// parts that stop on the step into it yield, and what those still running
// would yield if the text ended there. One step is one lookup in a table of
// one column per 8-bit character.
class token_automaton {
public:
    // Derives the automaton; a null automaton, one whose start is its trap
    // (n = 0), or a successor outside its automaton's states, raises the
    // check error.
    explicit token_automaton(const std::array<dea_ref, tokenart_count>& automata);

    // match returns the token at the start of `text` by the automata it was
    // derived from: the longest length that a part yields, on equal lengths
    // the later kind. It reads `text` only up to the character on which the
    // last part stops.
    [[nodiscard]] token_match match(std::string_view text) const;

private:
    // What a state yields: a kind and a length relative to the number of
    // characters read; none when no part yields anything.
    struct contribution {
        std::int8_t kind = -1;  // -1: none
        std::int8_t back = 0;   // 0: all characters read so far; 1: all but the last
    };
    struct state_info {
        contribution at_step;  // parts that stopped on the step into this state
        contribution at_end;   // parts still running, when the text ends here
        bool stopped;          // every part has stopped: the token is cut
    };

    // The runs that one automaton's part can be in (defined in token_automaton.cpp).
    struct part_table;
    // A state of the derived automaton: the number of each part's run.
    using product = std::array<std::uint8_t, tokenart_count>;

    // One column per 8-bit character.
    static constexpr std::size_t characters = std::size_t{std::numeric_limits<unsigned char>::max()} + 1;

    // A cell of the table: the next state, marked when that state contributes
    // on the step into it or is stopped.
    static constexpr std::uint16_t marked = 0x8000;
    static constexpr std::uint16_t state_bits = 0x7fff;

    // The steps of the derivation, in the constructor's order.

    // part_tables numbers the runs of each automaton's part and their moves.
    static std::vector<part_table> part_tables(const std::array<dea_ref, tokenart_count>& automata);
    // derive_states numbers the states reachable from the start, fills their
    // rows of next_ and returns the states in their order.
    std::vector<product> derive_states(const std::vector<part_table>& tables);
    // describe_states fills info_: what each state yields and whether it is stopped.
    void describe_states(const std::vector<part_table>& tables, const std::vector<product>& states);
    // mark_cells marks the cells of next_ that lead to a state that matters on the step into it.
    void mark_cells();

    // better returns the better of two contributions of one state: the
    // longer, then the later kind.
    static contribution better(contribution a, contribution b);
    // take puts the contribution `c` of a state reached after `read`
    // characters into `found` when it is longer, or as long and of a later kind.
    static void take(token_match& found, contribution c, std::size_t read);

    std::vector<std::uint16_t> next_;  // `characters` columns per state
    std::vector<state_info> info_;
};

// match and take are the scanner's step per character: defined here so that
// the scanner's loop inlines them.

inline void token_automaton::take(token_match& found, contribution c, std::size_t read) {
    if (c.kind < 0) {
        return;
    }
    const auto length = static_cast<std::int32_t>(read) - c.back;
    if (length > found.length ||
        (length == found.length && length > 0 && c.kind > static_cast<int>(found.kind))) {
        found = {static_cast<tokenart>(c.kind), length};
    }
}

inline token_match token_automaton::match(std::string_view text) const {
    token_match found{tokenart::GANZEZAHL_TOKEN, 0};
    std::size_t state = 0;
    std::size_t read = 0;
    while (read < text.size()) {
        const std::uint16_t cell = next_[state * characters + static_cast<unsigned char>(text[read])];
        ++read;
        state = cell & state_bits;
        if ((cell & marked) != 0) {
            const state_info& info = info_[state];
            take(found, info.at_step, read);
            if (info.stopped) {
                return found;
            }
        }
    }
    take(found, info_[state].at_end, read);
    return found;
}

// scanner_automaton returns the automaton derived from scandeas(), built on
// first use and kept to the end of the process; scanner cuts its tokens with
// it (scannerpak.cpp).
const token_automaton& scanner_automaton();

}  // namespace scannerpak
