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

// One named move: state `von` goes to state `nach` on `zeichen`.
struct uebergang {
    int32 von;
    char zeichen;
    int32 nach;
};

// erzeuge_dea returns the automaton over the states 0 .. n with the moves
// `uebergaenge` and the final states `endzustaende`; all other entries hold
// n. A state or character outside the table raises the check error.
template <char First, char Last>
dea::dea_type<First, Last> erzeuge_dea(int32 n, std::span<const uebergang> uebergaenge,
                                       std::span<const int32> endzustaende) {
    constexpr std::string_view module_name = "erzeuge_dea";
    dea::dea_type<First, Last> automat(n);
    for (const uebergang& u : uebergaenge) {
        automat.det.at(u.von, u.zeichen, common::place{module_name, __LINE__}) = u.nach;
    }
    for (const int32 s : endzustaende) {
        automat.f.set(s, true, common::place{module_name, __LINE__});
    }
    return automat;
}

}  // namespace automata
