// The main procedure of velkor and its console dialogue: the banner, the
// program from the console or from a file, the grammar tree, the trace into
// the trace file and on the screen, the tree file, and the question whether
// another program follows.
#pragma once

#include <string>
#include <string_view>

#include "common/textio.hpp"

namespace velkor {

// velkor is the main procedure. Each pass starts afresh from the banner with
// new locals, and what its program built is given back when it ends; the
// scanner's automata are built on their first use, kept to the end of the
// process outside the arena, and serve every pass. An answer "J" or "j" to
// the closing question starts another pass, any other answer ends with the
// closing banner. A failed machine step ends velkor at once, after
// "Fehlerhaftes While-Programm! (Initialisierung)": the program ends with
// status 0, unless the trace file, closed as the step's error left, failed
// to take its text; that failure is then reported as the program ends
// (run_program). Every other error leaves it (END_ERROR at the end of
// standard input, the scanner's error, nesting too deep or the step limit
// as STORAGE_ERROR, a number beyond 32 bits, an output file that cannot be
// created or written, a program file that cannot be read).
void velkor();

// ---- The dialogue, seen by the main procedure ----

// eingabe shows the menu until the whole answer line is "C", "c", "D" or
// "d" and returns true for the console, false for a file.
bool eingabe();

// lesevonconsole writes a line end and the prompt `s` as a line, and returns
// the next line of standard input unchanged.
std::string lesevonconsole(std::string_view s);

// tracedatei and baumdatei ask for the name of the trace file and of the
// tree file and read it, unchanged, into their parameter.
void tracedatei(std::string& traced);
void baumdatei(std::string& baumd);

// leseausdatei asks for a path, opens it as `datei_eingabe` and appends each
// non-empty line of the file to `eingabe`, preceded by one blank; then it
// derives `ba` with "_Baum" and `tr` with "_Trace" from the path. A path
// that names no file (the empty one, or one holding a NUL, included) raises
// NAME_ERROR with nothing changed; a file that cannot be read, USE_ERROR.
void leseausdatei(std::string& eingabe, std::string& tr, std::string& ba, common::in_file& datei_eingabe);

// concpf sets `rtn` to `fn` with `pf` inserted before the last '.' of `fn`,
// or appended when `fn` has none.
void concpf(std::string_view fn, std::string_view pf, std::string& rtn);

}  // namespace velkor
