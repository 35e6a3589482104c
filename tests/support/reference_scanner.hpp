// The scanner in its plain form, the reference that the product's scanner is
// checked against: every token automaton runs through
// reference_erkanntespraefix, the recognised-prefix walk, at every token, and the longest prefix wins, on
// equal lengths that of the later kind. The product finds the same with one automaton derived from the
// sixteen.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "common/errors.hpp"
#include "frontend/scannerpak.hpp"
#include "frontend/token_automaton.hpp"

namespace test_support {

using token_automata = std::array<scannerpak::dea_ref, scannerpak::tokenart_count>;

// The places of the walk's guards, in the scanner's name: a null
// automaton, a state outside the automaton before a step, and the last
// state and the one before it when their finality is read.
namespace reference_places {
inline constexpr common::place null_automaton{scannerpak::module_name, 317};
inline constexpr common::place prefix_step{scannerpak::module_name, 325};
inline constexpr common::place prefix_last_state{scannerpak::module_name, 331};
inline constexpr common::place prefix_state_before{scannerpak::module_name, 333};
}  // namespace reference_places

// reference_erkanntespraefix returns the length of the longest prefix of `w`
// that `d` accepts, by one run that stops at the trap state or at the end of
// `w` and then looks back one step: the number of steps when the last state
// is final, one less when the state before it is, else 0. A character
// outside '!' .. '~' counts as a step into the trap. It reads `w` only up to
// the character on which the run enters the trap. A null `d` raises the
// check error at reference_places::null_automaton, a successor outside
// 0 .. n at prefix_step when the run goes on from it, at prefix_last_state
// or prefix_state_before when the final states are read.
std::int32_t reference_erkanntespraefix(scannerpak::dea_ref d, std::string_view w);

// reference_longest_match runs every automaton of `automata` over `text`
// through reference_erkanntespraefix and returns the longest length, on
// equal lengths the later kind; length 0 when none accepts a prefix.
scannerpak::token_match reference_longest_match(const token_automata& automata, std::string_view text);

// reference_scanner returns the token list of `w`, cut by
// reference_longest_match over `automata`, with the messages and errors of
// scannerpak::scanner. Each cell's text is a copy of its own in the arena.
scannerpak::listoftoken reference_scanner(const token_automata& automata, std::string_view w);

}  // namespace test_support
