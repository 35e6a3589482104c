// Builds a deterministic automaton from the moves it lists: the scanner's
// token automata and the automata programs' automata are all given so. Every
// cell that no move names leads to the trap state, the highest state.
#pragma once

#include <span>
#include <string_view>

#include "common/errors.hpp"
#include "dea/dea.hpp"

namespace dea {

// One listed group of moves: state `from` goes to state `to` on each
// character of `on`.
struct transition {
    int32 from;
    std::string_view on;
    int32 to;
};

// build_dea returns the automaton of type Dea (a dea_type over its range of
// characters) with the states 0 .. n, the moves `moves` and the final states
// `finals`; all other cells hold n. A state or character outside the table
// raises the check error.
template <class Dea>
Dea build_dea(int32 n, std::span<const transition> moves, std::span<const int32> finals) {
    Dea automat(n);
    for (const transition& m : moves) {
        for (const char c : m.on) {
            automat.det.at(m.from, c, common::here()) = m.to;
        }
    }
    for (const int32 s : finals) {
        automat.f.set(s, true, common::here());
    }
    return automat;
}

}  // namespace dea
