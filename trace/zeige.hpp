// The renderers of the While machine: operators, expressions, conditions,
// statements, stacks, values, environments and whole configurations, each
// turned into one line of text. They print nothing and change nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/text_buffer.hpp"
#include "machine/baumwandler_package.hpp"

namespace baumwandler_package {

// zeige_op returns "+", "-", "*", "`div`" or "`mod`". A value outside the
// enumeration raises the check error.
std::string zeige_op(operator_ a);

// zeige_vergl returns "<", "=", ">", "<=", "/=" or ">=". A value outside the
// enumeration raises the check error.
std::string zeige_vergl(vergleicher a);

// zeige_ausdr returns a number as its image (" 5", "-3"), a name as stored,
// and an operation as "(" left operator right ")" with no blank added:
// "( 2*(y- 3))". A null expression, here or inside, raises the check error.
std::string zeige_ausdr(ausdruck a);

// zeige_bed returns "true" or "false" for a truth value, and a comparison
// in parentheses like an operation: "(x> 0)". A null condition, or a null
// expression inside it, raises the check error.
std::string zeige_bed(bedingung a);

// zeige_anw_f returns the statements of a list joined by a bare ";", or "[]"
// for the empty list. Statements read "x:= 5", "skip",
// " if (c) then l else l fi" and " while (c) do l od ". A null statement
// raises the check error; a null nested list renders as "[]".
std::string zeige_anw_f(anweisung_f a);

// zeige_teile returns the parts of a stack from its head down, joined by a
// bare "&"; the empty stack gives the empty text. A statement part reads
// like its statement, a statement-list part like its list ("[]" when
// emptied), a name part as the name, values as " 5" or "true", the markers
// as "if", "do" and ":=". A null part raises the check error.
std::string zeige_teile(teile a);

// zeige_wert returns "_" for UNDEF and the number image for a defined value.
std::string zeige_wert(const wert& a);

// zeige_var returns "(" name "," value ")": "(x, 5)", "(x,-3)", "(x,_)".
std::string zeige_var(const variable& a);

// zeige_vars returns the entries of an environment in list order with no
// separator; the empty environment gives the empty text.
std::string zeige_vars(umgebung a);

// rev returns a new stack holding the parts of `t` (shared, not copied) in
// the opposite order; `t` and its cells are unchanged. rev(null) is null.
teile rev(teile t);

// zeige_konf returns "<< " environment " , " value stack " , " control
// stack " >>": the value stack from the value pushed first to the top, the
// control stack from the top down. The configuration is only read.
std::string zeige_konf(const konfiguration& a);

// configuration_renderer appends the texts of zeige_konf and zeige_vars for
// the configurations of one run, at little more than the cost of copying
// them. The machine never changes a list, condition or expression, so the
// renderer renders the program once, when it is made, and every line copies
// their text from there: a list's from a cell to its end, a statement's
// from its parts, a loop's (the program's, or the one that rule 16 makes
// anew on every turn) around its condition and body. What it has not seen
// it renders as zeige_konf does. The value stack is reversed in one list
// kept for the whole run. Only the latest renderer is fast: making one
// takes the texts of the records it shares from every earlier one, which
// then renders them anew.
class configuration_renderer {
public:
    // Renders the text of every record that `start` reaches. A record that
    // fails to render (a null inside) is left unseen: the line that shows it
    // raises the check error there, as zeige_konf does.
    explicit configuration_renderer(const konfiguration& start);

    // konf appends zeige_konf(a); a failure leaves `out` with part of it.
    void konf(common::text_buffer& out, const konfiguration& a);
    // vars appends zeige_vars(a).
    void vars(common::text_buffer& out, umgebung a);

    // The loop statement whose text was copied last, by its condition and
    // body, and where its text stands: the same loop shows on many lines.
    struct loop_text {
        bedingung b = nullptr;
        anweisung_f rumpf = nullptr;
        std::size_t begin = 0;
        std::size_t length = 0;
    };

private:
    std::uint32_t run_;
    common::text_buffer program_;  // every seen record's text, once
    std::vector<teil> werte_;
    loop_text last_loop_;
};

}  // namespace baumwandler_package
