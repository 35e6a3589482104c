// Builds a deterministic automaton the way the automata programs assign one:
// the named moves and final states, every other entry leading to the trap
// state, the highest state.
#pragma once

#include <span>
#include <string_view>

#include "common/errors.hpp"
#include "dea/dea.hpp"

namespace automata {

using dea::int32;

// One named transition: state `from` goes to state `to` on `on`.
struct transition {
    int32 from;
    char on;
    int32 to;
};

// build_dea returns the automaton of type Dea (a dea::dea_type over its
// range of characters) with the states 0 .. n, the moves `moves` and the
// final states `finals`; all other entries hold n. A state or character
// outside the table raises the check error.
template <class Dea>
Dea build_dea(int32 n, std::span<const transition> moves, std::span<const int32> finals) {
    Dea automat(n);
    for (const transition& m : moves) {
        automat.det.at(m.from, m.on, common::here()) = m.to;
    }
    for (const int32 s : finals) {
        automat.f.set(s, true, common::here());
    }
    return automat;
}

}  // namespace automata
