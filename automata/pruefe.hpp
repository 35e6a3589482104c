// The word test of the automata programs: the shared word test of dea/, its
// sentence ended as a line and followed by an empty line.
#pragma once

#include <string_view>

#include "common/errors.hpp"
#include "common/textio.hpp"
#include "dea/dea.hpp"
#include "dea/word_test.hpp"

namespace automata {

namespace pruefe_places {
inline constexpr std::string_view module_name = "pruefe";
inline constexpr dea::word_test_places word_test{{module_name, 24}, {module_name, 29}};
}  // namespace pruefe_places

// pruefe writes to `out` the sentence of dea::test_word for `w`,
// "\"w\" gehoert[ nicht] zum Sprachschatz", and two line ends. A character
// outside the table's columns raises the check error before anything is
// written; a successor outside 0 .. n raises it at its next use, which for
// the last state comes after the first part of the sentence.
template <char First, char Last>
void pruefe(const dea::dea_type<First, Last>& automat, std::string_view w,
            common::text_writer& out = common::standard_output()) {
    dea::test_word(automat, w, out, pruefe_places::word_test);
    out.new_line();
    out.new_line();  // every verdict is followed by one empty line
}

}  // namespace automata
