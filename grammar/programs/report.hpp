// The report that every grammar program prints around its own part: the
// grammar built from its table of alternatives, the listing and the verdict,
// and at the end the five relations as pair lists.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "common/textio.hpp"
#include "grammar/grammatikgenerator2.hpp"
#include "grammar/relationenpaket.hpp"

namespace grammar::report {

// One call of neuealternativehinzu: the nonterminal and the slice first .. last
// of the program's right sides (1 .. 0 for the empty alternative).
template <class Z>
struct alternative {
    Z links;
    int first;
    int last;
};

// Adds the alternatives in table order, prints the listing, two line ends,
// the title and "nicht " when the grammar is not simple, then "einfach.".
template <class Z, std::size_t N, std::size_t M>
void grammar_and_verdict(relationenpaket::relationen<Z>& pak, const std::array<Z, N>& rechteseiten,
                         const std::array<alternative<Z>, M>& calls, std::string_view title) {
    for (const auto& call : calls) {
        pak.gg.neuealternativehinzu(call.links,
                                    grammatikgenerator2::slice(rechteseiten, call.first, call.last));
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
    using pair_list = typename relationenpaket::relationen<Z>::tupelpoint;
    struct entry {
        std::string_view label;
        pair_list (relationenpaket::relationen<Z>::*relation)();
    };
    const std::array<entry, 5> entries{{{"Anfang:", &relationenpaket::relationen<Z>::anfang},
                                        {"Neben:", &relationenpaket::relationen<Z>::neben},
                                        {"Ende:", &relationenpaket::relationen<Z>::ende},
                                        {"First:", &relationenpaket::relationen<Z>::first},
                                        {"Follow:", &relationenpaket::relationen<Z>::follow}}};
    for (std::size_t k = 0; k < entries.size(); ++k) {
        out.put_line(entries[k].label);
        relationenpaket::paar::druckemenge((pak.*entries[k].relation)());
        if (k + 1 < entries.size()) {
            out.new_line();
            out.new_line();
        }
    }
}

// The whole report of a program that shows nothing between the verdict and
// the epsilon line: grammar and verdict, the epsilon symbols, the relations.
template <class Z, std::size_t N, std::size_t M>
void whole_report(relationenpaket::relationen<Z>& pak, const std::array<Z, N>& rechteseiten,
                  const std::array<alternative<Z>, M>& calls, std::string_view title) {
    grammar_and_verdict(pak, rechteseiten, calls, title);
    common::standard_output().new_line();
    common::standard_output().new_line();
    pak.druckeeps(pak.epszaehler());
    relations(pak);
}

}  // namespace grammar::report
