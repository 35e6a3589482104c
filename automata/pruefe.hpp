// The word test of the automata programs: one run of a deterministic
// automaton over the whole word, and the sentence that says whether the word
// belongs to the automaton's language, ended as a line and followed by an
// empty line.
#pragma once

#include <string_view>

#include "common/errors.hpp"
#include "common/textio.hpp"
#include "dea/dea.hpp"

namespace automata {

// The places of pruefe's guards, in its module's name and at the lines they
// have always named: a step of the run, and the final-state lookup of the
// verdict.
namespace pruefe_places {
inline constexpr std::string_view module_name = "pruefe";
inline constexpr common::place step{module_name, 24};
inline constexpr common::place verdict{module_name, 29};
}  // namespace pruefe_places

// pruefe runs `w` from state 0 through `automat`, reading every character,
// also after the run has reached the trap state, and writes to `out`
// "\"w\" gehoert", then " nicht" when the state reached is not final, then
// " zum Sprachschatz" and two line ends. A character outside the table's
// columns, or a successor outside 0 .. n used as a row, raises the check
// error at pruefe_places::step before anything is written; a last state
// outside 0 .. n raises it at pruefe_places::verdict, after "\"w\" gehoert".
template <char First, char Last>
void pruefe(const dea::dea_type<First, Last>& automat, std::string_view w,
            common::text_writer& out = common::standard_output()) {
    dea::int32 akt = 0;
    for (const char c : w) {
        akt = automat.det.at(akt, c, pruefe_places::step);
    }
    out.put('"');
    out.put(w);
    out.put("\" gehoert");
    if (!automat.f.contains(akt, pruefe_places::verdict)) {
        out.put(" nicht");
    }
    out.put(" zum Sprachschatz");
    out.new_line();
    out.new_line();  // every verdict is followed by one empty line
}

}  // namespace automata
