// The tree printer of velkor: draws a grammar tree as indented text, a
// column of bars running down past every node that still has a later
// sibling, on the screen or into an open text file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/textio.hpp"
#include "frontend/comtypes.hpp"

namespace printpak {

// bar_levels holds the levels of one bar list, the outermost first; each
// level is three characters wide in the drawing and shows a bar ("  |") or
// three blanks. They are kept as the text they draw, so that the bars of a
// line are there to be copied, and beside it the levels that show a bar, so
// that every list operation touches only the levels it cuts, appends or
// flips at the inner end.
struct bar_levels {
    std::string bars;                   // three characters a level
    std::vector<std::size_t> with_bar;  // the levels (0 the outermost) with "  |", ascending
};

// strichliste is a bar list: a reference to the levels of one list; null is
// the empty list. A step that keeps the list in tmp_strichliste and puts it
// back keeps the same list, not a copy, so what was done to the levels in
// between stays. The list operations change the levels in place and return
// the list they were given. In a drawing, printgb owns the levels of every
// list: they take no cell from the arena, grow with the depth of the tree
// alone and go when printgb returns.
using strichliste = bar_levels*;

// printgb draws the tree `gb` (null, or a tree with a PROGRAMM root) into
// `ausg` when `txt` is true, and to standard output otherwise, leaving `ausg`
// untouched then. The drawing begins with a line end and ends with three
// blanks and no line end. A null tree writes nothing. A root other than
// PROGRAMM raises the check error before anything is written.
// It is `ausgaben` from the empty list at level 1: every node with its
// subtree, then its following siblings, each bar change one of the list
// operations below. The text is handed on through `print` in blocks of a
// mebibyte. Everything drawn is handed on before printgb returns or an
// error leaves it; should that last write fail too, the error that came
// first is the one that leaves, and a block whose write failed is not
// written again. The walk keeps the nodes whose siblings are still to come
// on a stack of its own, so that no depth of tree exhausts the call stack.
void printgb(comtypes::grbaum gb, common::text_writer& ausg, bool txt);

// print writes `s` unchanged, no line end added, into `ausg` when `txt` is
// true and to standard output otherwise.
void print(common::text_writer& ausg, std::string_view s, bool txt);

// macheleerzeichen returns the bars of the list: "  |" or three blanks per
// level, from the outermost on; the empty text for the empty list. The view
// holds until the list next changes.
std::string_view macheleerzeichen(strichliste s);

// get_strichlisten_length returns the number of levels, 0 for the empty list.
int get_strichlisten_length(strichliste s);

// reducelist cuts the list after the last level with a bar among all but the
// innermost (after the first level when none has one); a list of one level
// loses its bar instead. It returns `s`; an empty list raises the check error.
strichliste reducelist(strichliste s);

// extendlist appends `n` levels, all without bar but the last; nothing for
// `n` of 0 or less. It returns `s`; an empty list raises the check error.
strichliste extendlist(strichliste s, int n);

// extendlist2 brings the list to `n` levels: it extends a shorter list, and
// reduces a longer one until it is no longer too long, then extends it. It
// returns `s`. The empty list raises the check error unless `n` is 0, and a
// longer list raises it for `n` below 1, where the reduction would never end.
strichliste extendlist2(strichliste s, int n);

}  // namespace printpak
