// Word test of a deterministic automaton: runs one word through the table and
// writes the German verdict line.
#pragma once

#include <string_view>

#include "common/errors.hpp"
#include "common/textio.hpp"
#include "dea/dea.hpp"

namespace automata {

// pruefe runs `w` from state 0 through `automat` and writes
// "\"w\" gehoert[ nicht] zum Sprachschatz" and two line ends to `out`.
// Every character is read, also after the run has reached the trap state. A
// character outside the table's columns raises the check error before anything
// is written; a successor outside 0 .. n raises it at its next use, which for
// the last state comes after the first part of the verdict.
template <char First, char Last>
void pruefe(const dea::dea_type<First, Last>& automat, std::string_view w,
            common::text_writer& out = common::standard_output()) {
    dea::int32 akt = 0;
    for (const char c : w) {
        akt = automat.det.at(akt, c, common::place{"pruefe", __LINE__});
    }
    out.put('"');
    out.put(w);
    out.put("\" gehoert");
    if (!automat.f.contains(akt, common::place{"pruefe", __LINE__})) {
        out.put(" nicht");
    }
    out.put(" zum Sprachschatz");
    out.new_line();
    out.new_line();  // every verdict is followed by one empty line
}

}  // namespace automata
