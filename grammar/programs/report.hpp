// The report that every grammar program prints around its own part: the
// grammar built from its table of alternatives, the listing and the verdict,
// and at the end the five relations as pair lists.
#pragma once

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <string_view>

#include "common/textio.hpp"
#include "grammar/grammatikgenerator2.hpp"
#include "grammar/relationenpaket.hpp"
#include "grammar/symbols.hpp"

namespace grammar::report {

// One alternative of a grammar program: the nonterminal and its right side,
// the symbols in order; an empty right side is the empty alternative. A
// program lists its alternatives as a constant table of such rows; a right
// side written in a row lives as long as the table.
template <class Z>
struct alternative {
    Z links;
    std::initializer_list<Z> rechts;
};

// left_sides_are_nonterminals returns true when every row's left side is a
// nonterminal; meant for static_assert over a program's table.
template <grammar_symbol_type Z, std::size_t N>
consteval bool left_sides_are_nonterminals(const alternative<Z> (&alternativen)[N]) {
    return std::ranges::none_of(alternativen, [](const alternative<Z>& a) { return is_terminal(a.links); });
}

// Adds the alternatives in table order, prints the listing, two line ends,
// the title and "nicht " when the grammar is not simple, then "einfach.".
template <class Z, std::size_t N>
void grammar_and_verdict(relationenpaket::relationen<Z>& pak, const alternative<Z> (&alternativen)[N],
                         std::string_view title) {
    for (const alternative<Z>& a : alternativen) {
        pak.gg.neuealternativehinzu(a.links,
                                    grammatikgenerator2::zeichenarray<Z>(a.rechts.begin(), a.rechts.size()));
    }
    auto& out = common::standard_output();
    pak.gg.druckegrammatik();
    out.new_line();
    out.new_line();
    out.put(title);
    if (!pak.gg.istgrammatikeinfach()) {
        out.put("nicht ");
    }
    out.put("einfach.");
}

// Prints each relation under its label, Anfang, Neben, Ende, First and
// Follow, two line ends between them; the Follow list ends the report.
template <class Z>
void relations(relationenpaket::relationen<Z>& pak) {
    auto& out = common::standard_output();
    out.new_line();
    out.new_line();
    using relationen = relationenpaket::relationen<Z>;
    struct entry {
        std::string_view label;
        typename relationen::tupelpoint (relationen::*relation)();
    };
    const entry entries[]{{"Anfang:", &relationen::anfang},
                          {"Neben:", &relationen::neben},
                          {"Ende:", &relationen::ende},
                          {"First:", &relationen::first},
                          {"Follow:", &relationen::follow}};
    for (const entry& e : entries) {
        out.put_line(e.label);
        relationenpaket::paar::druckemenge((pak.*e.relation)());
        if (&e != std::end(entries) - 1) {
            out.new_line();
            out.new_line();
        }
    }
}

// The whole report of a program that shows nothing between the verdict and
// the epsilon line: grammar and verdict, the epsilon symbols, the relations.
template <class Z, std::size_t N>
void whole_report(relationenpaket::relationen<Z>& pak, const alternative<Z> (&alternativen)[N],
                  std::string_view title) {
    grammar_and_verdict(pak, alternativen, title);
    common::standard_output().new_line();
    common::standard_output().new_line();
    pak.druckeeps(pak.epszaehler());
    relations(pak);
}

}  // namespace grammar::report
