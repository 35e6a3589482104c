// The word test of a deterministic automaton: one run over the whole word and
// the German sentence that says whether the word belongs to the automaton's
// language. The While scanner and the automata programs both test words this
// way; each ends the sentence as it needs and names its own error places.
#pragma once

#include <string_view>

#include "common/errors.hpp"
#include "common/textio.hpp"
#include "dea/dea.hpp"

namespace dea {

// Where a word test reports a state or character outside the table: at a
// step of the run, and at the final-state lookup of the verdict.
struct word_test_places {
    common::place step;
    common::place verdict;
};

// test_word runs `w` from state 0 through `automat`, reading every
// character, also after the run has reached the trap state, and writes to
// `out`, without a line end, "\"w\" gehoert", then " nicht" when the state
// reached is not final, then " zum Sprachschatz". A character outside the
// table's columns, or a successor outside 0 .. n used as a row, raises the
// check error at `places.step` before anything is written; a last state
// outside 0 .. n raises it at `places.verdict`, after "\"w\" gehoert".
template <char First, char Last>
void test_word(const dea_type<First, Last>& automat, std::string_view w, common::text_writer& out,
               const word_test_places& places) {
    int32 akt = 0;
    for (const char c : w) {
        akt = automat.det.at(akt, c, places.step);
    }
    out.put('"');
    out.put(w);
    out.put("\" gehoert");
    if (!automat.f.contains(akt, places.verdict)) {
        out.put(" nicht");
    }
    out.put(" zum Sprachschatz");
}

}  // namespace dea
