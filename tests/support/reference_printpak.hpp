// The tree printer in its plain form, the reference that printpak's drawing
// is checked against: the bar list as linked cells, changed by the plain list
// operations, and the drawing as one recursive call per node that writes
// piece by piece. Every cell comes from the arena and stays there until the
// enclosing arena scope gives it back. The recursion goes about three calls
// deeper per statement of a list: run it on a large stack.
//
// Header-only, so that the benchmarks can set it beside the product drawing.
#pragma once

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

#include "common/arena.hpp"
#include "common/arith.hpp"
#include "common/errors.hpp"
#include "common/rows.hpp"
#include "common/textio.hpp"
#include "frontend/comtypes.hpp"

namespace test_support::reference_printpak {

using comtypes::alphabet;
using comtypes::grbaum;

struct strichknoten;

// strichliste points to the outermost cell of a bar list; null is the empty
// list.
using strichliste = strichknoten*;

// strichknoten is one level of a bar list: `b` true shows "  |", false three
// blanks; `next` is the next deeper level.
struct strichknoten {
    bool b = true;
    strichliste next = nullptr;
};

// print writes `s` into `ausg` when `txt` is true, to standard output
// otherwise.
inline void print(common::text_writer& ausg, std::string_view s, bool txt) {
    (txt ? ausg : common::standard_output()).put(s);
}

// macheleerzeichen returns the bars of the list, from the head on.
inline std::string macheleerzeichen(strichliste s) {
    std::string bars;
    for (; s != nullptr; s = s->next) {
        bars += s->b ? "  |" : "   ";
    }
    return bars;
}

// get_strichlisten_length returns the number of cells.
inline int get_strichlisten_length(strichliste s) {
    int length = 0;
    for (; s != nullptr; s = s->next) {
        ++length;
    }
    return length;
}

// reducelist: one cell loses its bar; a longer list is cut after the last
// cell with a bar among all but the innermost, or after the first cell. An
// empty list raises the check error.
inline strichliste reducelist(strichliste s) {
    common::check(s != nullptr, common::here());
    if (s->next == nullptr) {
        s->b = false;
        return s;
    }
    strichliste found = s;
    for (strichliste cell = s; cell->next != nullptr; cell = cell->next) {
        if (cell->b) {
            found = cell;
        }
    }
    found->next = nullptr;
    return s;
}

// extendlist appends `n` cells, the last with a bar. An empty list raises
// the check error.
inline strichliste extendlist(strichliste s, int n) {
    common::check(s != nullptr, common::here());
    strichliste tail = s;
    while (tail->next != nullptr) {
        tail = tail->next;
    }
    for (int i = 1; i <= n; ++i) {
        tail->next = common::make<strichknoten>(i == n, nullptr);
        tail = tail->next;
    }
    return s;
}

// extendlist2 brings the list to `n` cells, by extending or by reducing and
// trying again. A target below one level on a longer list raises the check
// error: the reduction would never end.
inline strichliste extendlist2(strichliste s, int n) {
    const int length = get_strichlisten_length(s);
    if (length < n) {
        return extendlist(s, n - length);
    }
    if (length > n) {
        common::check(n >= 1, common::here());
        reducelist(s);
        return extendlist2(s, n);
    }
    return s;
}

void ausgaben(grbaum& b, strichliste& j, int& ebene, common::text_writer& ausg, bool txt);

// ausgabeanw draws one statement node under the name `tokenn`.
inline void ausgabeanw(grbaum& b, strichliste& j, int& ebene, std::string_view tokenn,
                       common::text_writer& ausg, bool txt) {
    print(ausg, "_ ", txt);
    print(ausg, tokenn, txt);
    print(ausg, "\n", txt);
    reducelist(j);
    const strichliste tmp_strichliste = j;
    int e = common::add(ebene, 1, common::here());
    extendlist2(j, e);
    if (b->knoten() == nullptr) {
        print(ausg, macheleerzeichen(j), txt);
        print(ausg, "\n", txt);
        print(ausg, macheleerzeichen(j), txt);
        print(ausg, "_ HIER NULL!\n", txt);
        reducelist(j);
    } else {
        print(ausg, macheleerzeichen(j), txt);
        ausgaben(b->knoten(), j, e, ausg, txt);
    }
    j = tmp_strichliste;
}

// ausgabet draws one terminal node; `tokenn` is the name of its class.
inline void ausgabet(grbaum& b, strichliste& j, int& ebene, std::string_view tokenn,
                     common::text_writer& ausg, bool txt) {
    int e = ebene;
    const bool drawn_by_class = tokenn == "NameT" || tokenn == "ZahlT" || tokenn == "ropT" || tokenn == "opT";
    if (drawn_by_class) {
        print(ausg, "_ ", txt);
        print(ausg, tokenn, txt);
        print(ausg, "\n", txt);
        if (b->rest != nullptr) {
            extendlist(j, 1);
        } else {
            reducelist(j);
            e = common::add(e, 1, common::here());
            extendlist2(j, e);
        }
        print(ausg, macheleerzeichen(j), txt);
        print(ausg, "\n", txt);
        print(ausg, macheleerzeichen(j), txt);
        reducelist(j);
    }
    print(ausg, "_ ", txt);
    print(ausg, b->exp(), txt);
    if (!drawn_by_class && b->rest == nullptr) {
        reducelist(j);
    }
    print(ausg, "\n", txt);
    print(ausg, macheleerzeichen(j), txt);
}

// The names handed to ausgabeanw and ausgabet, one row per symbol in the
// order of the alphabet; none for the symbols that ausgaben draws itself.
struct symbol_name {
    alphabet symbol;
    std::string_view name;
};

inline constexpr symbol_name names[] = {
    {alphabet::PROGRAMM, ""},
    {alphabet::ANWF, ""},
    {alphabet::ANW, ""},
    {alphabet::LEEREANWEISUNG, "leereAnweisung"},
    {alphabet::ZUWEISUNG, "Zuweisung"},
    {alphabet::BEDINGTEANWEISUNG, "bedingteAnweisung"},
    {alphabet::SCHLEIFE, "Schleife"},
    {alphabet::AUSDRUCK, ""},
    {alphabet::BEDINGUNG, ""},
    {alphabet::IFT, "ifT"},
    {alphabet::NAMET, "NameT"},
    {alphabet::SKIPT, "skipT"},
    {alphabet::WHILET, "whileT"},
    {alphabet::SEMIKOLONT, "semikolonT"},
    {alphabet::ZAHLT, "ZahlT"},
    {alphabet::ROPT, "ropT"},
    {alphabet::OPT, "opT"},
    {alphabet::AUFT, "aufT"},
    {alphabet::ZUT, "zuT"},
    {alphabet::ZUWEISUNGT, "ZuweisungsT"},
    {alphabet::THENT, "thenT"},
    {alphabet::ELSET, "elseT"},
    {alphabet::FIT, "fiT"},
    {alphabet::DOT, "doT"},
    {alphabet::ODT, "odT"},
    {alphabet::TRUET, "TrueT"},
    {alphabet::FALSET, "FalseT"},
};
static_assert(common::one_row_per_value(names, &symbol_name::symbol, comtypes::alphabet_count));

// ausgaben draws the node `b` with its subtree, then its following siblings
// with theirs. A symbol outside the alphabet raises the check error.
inline void ausgaben(grbaum& b, strichliste& j, int& ebene, common::text_writer& ausg, bool txt) {
    int e = ebene;
    if (b == nullptr) {
        return;
    }
    print(ausg, "\n", txt);
    print(ausg, macheleerzeichen(j), txt);
    const auto symbol = static_cast<std::size_t>(b->al);
    common::check(symbol < std::size(names), common::here());
    switch (b->al) {
        case alphabet::PROGRAMM:
            print(ausg, "Programm\n", txt);
            j = common::make<strichknoten>(true, nullptr);
            print(ausg, macheleerzeichen(j), txt);
            ausgaben(b->knoten(), j, e, ausg, txt);
            break;
        case alphabet::ANWF:
        case alphabet::ANW: {
            if (b->al == alphabet::ANWF) {
                print(ausg, "_ AnwF\n", txt);
                reducelist(j);
                extendlist2(j, e);
            } else {
                print(ausg, "_ Anw\n", txt);
            }
            const strichliste tmp_strichliste = j;
            if (b->rest != nullptr) {
                extendlist(j, 1);
                e = common::add(e, 1, common::here());
                if (b->knoten() != nullptr) {
                    print(ausg, macheleerzeichen(j), txt);
                    ausgaben(b->knoten(), j, e, ausg, txt);
                }
            } else if (b->knoten() != nullptr) {
                reducelist(j);
                e = common::add(e, 1, common::here());
                extendlist2(j, e);
                print(ausg, macheleerzeichen(j), txt);
                ausgaben(b->knoten(), j, e, ausg, txt);
            }
            e = get_strichlisten_length(j);
            j = tmp_strichliste;
            break;
        }
        case alphabet::AUSDRUCK: {
            print(ausg, "_ Ausdruck\n", txt);
            const strichliste tmp_strichliste = j;
            if (b->rest == nullptr) {
                reducelist(j);
            }
            e = common::add(ebene, 1, common::here());
            extendlist2(j, e);
            print(ausg, macheleerzeichen(j), txt);
            ausgaben(b->knoten(), j, e, ausg, txt);
            e = ebene;
            j = tmp_strichliste;
            break;
        }
        case alphabet::BEDINGUNG: {
            print(ausg, "_ Bedingung\n", txt);
            e = common::add(ebene, 1, common::here());
            extendlist2(j, e);
            const strichliste tmp_strichliste = j;
            print(ausg, macheleerzeichen(j), txt);
            ausgaben(b->knoten(), j, e, ausg, txt);
            e = ebene;
            j = tmp_strichliste;
            break;
        }
        case alphabet::LEEREANWEISUNG:
        case alphabet::ZUWEISUNG:
        case alphabet::BEDINGTEANWEISUNG:
        case alphabet::SCHLEIFE:
            ausgabeanw(b, j, e, names[symbol].name, ausg, txt);
            break;
        default:
            ausgabet(b, j, e, names[symbol].name, ausg, txt);
            break;
    }
    ausgaben(b->rest, j, e, ausg, txt);
}

// printgb: ausgaben from the empty list at level 1.
inline void printgb(grbaum gb, common::text_writer& ausg, bool txt) {
    strichliste strichzeiger = nullptr;
    int ebene = 1;
    ausgaben(gb, strichzeiger, ebene, ausg, txt);
}

}  // namespace test_support::reference_printpak
