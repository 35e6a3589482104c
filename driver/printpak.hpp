// The tree printer of velkor: draws a grammar tree as indented text, a
// column of bars running down past every node that still has a later
// sibling, on the screen or into an open text file.
#pragma once

#include <string>
#include <string_view>

#include "common/textio.hpp"
#include "frontend/comtypes.hpp"

namespace printpak {

struct strichknoten;

// strichliste is a bar list: one cell per indentation level, the head being
// the outermost level; null is the empty list. Cells come from the arena,
// are never released one by one and go back with what the enclosing arena
// scope gives back (in velkor, at the end of the program's activation); the
// list operations change them in place.
using strichliste = strichknoten*;

// strichknoten is one level of a bar list: `b` true shows "  |", false
// shows three blanks.
struct strichknoten {
    bool b = true;
    strichliste next = nullptr;
};

// printgb draws the tree `gb` (null, or a tree with a PROGRAMM root) into
// `ausg` when `txt` is true, and to standard output otherwise, leaving `ausg`
// untouched then. The drawing begins with a line end and ends with three
// blanks and no line end. A null tree writes nothing. A root other than
// PROGRAMM raises the check error before anything is written.
// It writes what `ausgaben` from an empty list at level 1 writes, but keeps
// its bars in one buffer that grows with the depth of the tree alone, and
// hands the text on in blocks; everything written is handed on before it
// returns or an error leaves it.
void printgb(comtypes::grbaum gb, common::text_writer& ausg, bool txt);

// ausgaben draws the node `b` with its subtree and then all its following
// siblings with theirs, at the level `ebene`, with the bar list `j`, piece by
// piece through `print`. It gives back `b` and `ebene` unchanged and `j` as
// it holds it at its end. It is the plain drawing: every bar change is one of
// the list operations below, and the cells they append stay in the arena
// until the enclosing arena scope gives them back.
void ausgaben(comtypes::grbaum& b, strichliste& j, int& ebene, common::text_writer& ausg, bool txt);

// ---- Seen by the drawing (and by tests) ----

// print writes `s` unchanged, no line end added, into `ausg` when `txt` is
// true and to standard output otherwise.
void print(common::text_writer& ausg, std::string_view s, bool txt);

// macheleerzeichen returns the bars of the list: "  |" or three blanks per
// cell, from the head on; the empty text for the empty list.
std::string macheleerzeichen(strichliste s);

// get_strichlisten_length returns the number of cells, 0 for the empty list.
int get_strichlisten_length(strichliste s);

// reducelist cuts the list after the last cell with a bar among all but the
// innermost (after the first cell when none has one); a list of one cell
// loses its bar instead. It returns `s`; an empty list raises the check error.
strichliste reducelist(strichliste s);

// extendlist appends `n` cells, all without bar but the last; nothing for
// `n` of 0 or less. It returns `s`; an empty list raises the check error.
strichliste extendlist(strichliste s, int n);

// extendlist2 brings the list to `n` cells: it extends a shorter list, and
// reduces a longer one until it is no longer too long, then extends it. It
// returns `s`.
strichliste extendlist2(strichliste s, int n);

}  // namespace printpak
