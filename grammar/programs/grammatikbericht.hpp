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

namespace grammar::grammatikbericht {

// One call of neuealternativehinzu: the nonterminal and the slice von .. bis
// of the program's right sides (1 .. 0 for the empty alternative).
template <class Z>
struct alternative {
    Z links;
    int von;
    int bis;
};

// Adds the alternatives in table order, prints the listing, two line ends,
// the title and "nicht " when the grammar is not simple, then "einfach.".
template <class Z, std::size_t N, std::size_t M>
void grammatik_und_urteil(relationenpaket::relationen<Z>& pak, const std::array<Z, N>& rechteseiten,
                          const std::array<alternative<Z>, M>& aufrufe, std::string_view titel) {
    for (const auto& aufruf : aufrufe) {
        pak.gg.neuealternativehinzu(aufruf.links,
                                    grammatikgenerator2::scheibe(rechteseiten, aufruf.von, aufruf.bis));
    }
    auto& out = common::standard_output();
    pak.gg.druckegrammatik();
    out.new_line();
    out.new_line();
    out.put(titel);
    if (!pak.gg.istgrammatikeinfach()) {
        out.put("nicht ");
    }
    out.put("einfach.");
}

// Prints each relation under its label, Anfang, Neben, Ende, First and
// Follow, two line ends between them; the Follow list ends the report.
template <class Z>
void relationen(relationenpaket::relationen<Z>& pak) {
    auto& out = common::standard_output();
    out.new_line();
    out.new_line();
    using liste = typename relationenpaket::relationen<Z>::tupelpoint;
    struct eintrag {
        std::string_view label;
        liste (relationenpaket::relationen<Z>::*relation)();
    };
    const std::array<eintrag, 5> eintraege{{{"Anfang:", &relationenpaket::relationen<Z>::anfang},
                                            {"Neben:", &relationenpaket::relationen<Z>::neben},
                                            {"Ende:", &relationenpaket::relationen<Z>::ende},
                                            {"First:", &relationenpaket::relationen<Z>::first},
                                            {"Follow:", &relationenpaket::relationen<Z>::follow}}};
    for (std::size_t k = 0; k < eintraege.size(); ++k) {
        out.put_line(eintraege[k].label);
        relationenpaket::paar::druckemenge((pak.*eintraege[k].relation)());
        if (k + 1 < eintraege.size()) {
            out.new_line();
            out.new_line();
        }
    }
}

// The whole report of a program that shows nothing between the verdict and
// the epsilon line: grammar and verdict, the epsilon symbols, the relations.
template <class Z, std::size_t N, std::size_t M>
void bericht(relationenpaket::relationen<Z>& pak, const std::array<Z, N>& rechteseiten,
             const std::array<alternative<Z>, M>& aufrufe, std::string_view titel) {
    grammatik_und_urteil(pak, rechteseiten, aufrufe, titel);
    common::standard_output().new_line();
    common::standard_output().new_line();
    pak.druckeeps(pak.epszaehler());
    relationen(pak);
}

}  // namespace grammar::grammatikbericht
