// Lexical analyser of the While language: sixteen token automata, longest
// match, ties to the later kind.
#include "frontend/scannerpak.hpp"

#include <algorithm>
#include <iterator>
#include <span>
#include <string>

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "common/image.hpp"
#include "common/rows.hpp"
#include "common/textio.hpp"
#include "dea/word_test.hpp"

namespace scannerpak {
namespace {

constexpr std::string_view module_name = "scannerpak";

// Fixed places: the "scannerpak:line" texts that reports and tests rely on,
// kept whatever the layout of this file.
namespace places {
constexpr common::place word_step{module_name, 62};  // pruefe
constexpr common::place word_verdict{module_name, 65};
constexpr common::place null_automaton{module_name, 317};  // erkanntespraefix
constexpr common::place prefix_step{module_name, 325};
constexpr common::place prefix_last_state{module_name, 331};
constexpr common::place prefix_state_before{module_name, 333};
constexpr common::place not_printable{module_name, 413};  // scanner
constexpr common::place no_token{module_name, 434};
}  // namespace places

// One listed cell group of a token automaton: from -> to on each character of `on`.
struct move {
    int from;
    int to;
    std::string_view on;
};

// A token automaton as data: its highest state (the trap), its final states
// and its listed moves; every other cell leads to the trap. A keyword
// automaton is given by its word alone.
struct automaton_plan {
    int n;
    std::array<int, 2> finals;  // 0 marks an unused entry: state 0 is never final
    std::span<const move> moves;
    std::string_view keyword;
};

constexpr std::string_view digits = "0123456789";
constexpr std::string_view letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr std::string_view letters_digits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// The moves of the automata that are not keywords, named by their kind.
constexpr move ganzezahl[] = {{0, 1, digits}, {1, 1, digits}};
constexpr move bezeichner[] = {{0, 1, letters}, {1, 1, letters_digits}};
constexpr move rop[] = {{0, 1, "/"}, {0, 2, "<>"}, {0, 3, "="}, {1, 3, "="}, {2, 3, "="}};
constexpr move op[] = {{0, 5, "*+-"}, {0, 1, "d"}, {1, 2, "i"}, {2, 5, "v"},
                       {0, 3, "m"},   {3, 4, "o"}, {4, 5, "d"}};
constexpr move auf[] = {{0, 1, "("}};
constexpr move zu[] = {{0, 1, ")"}};
constexpr move zuw[] = {{0, 1, ":"}, {1, 2, "="}};
constexpr move strichp[] = {{0, 1, ";"}};

// An automaton of listed moves with the highest state n and up to two final states.
constexpr automaton_plan plan(int n, std::array<int, 2> finals, std::span<const move> moves) {
    return {n, finals, moves, {}};
}

// A keyword of k letters: state j - 1 leads to j on its j-th letter, k is
// final and k + 1 the trap.
constexpr automaton_plan keyword(std::string_view word) {
    return {static_cast<int>(word.size()) + 1, {static_cast<int>(word.size()), 0}, {}, word};
}

// The facts of one token kind that the scanner uses.
struct token_row {
    tokenart kind;
    std::string_view image;
    automaton_plan automaton;
};

constexpr token_row token_rows[] = {
#define SCANNERPAK_TOKENART(kind, terminal, automaton) {tokenart::kind, #kind, automaton},
#include "frontend/tokenart.def"
};
static_assert(common::one_row_per_value(token_rows, &token_row::kind, tokenart_count));

// On equal prefix lengths the later kind wins: "div" and "mod" are
// operators and the keywords are keywords only because OP_TOKEN and every
// keyword kind stand after BEZEICHNER_TOKEN.
static_assert(std::ranges::all_of(token_rows, [](const token_row& row) {
    const bool name_may_tie = row.kind == tokenart::OP_TOKEN || !row.automaton.keyword.empty();
    return !name_may_tie || row.kind > tokenart::BEZEICHNER_TOKEN;
}));

dea_ref build(const automaton_plan& plan) {
    auto* d = common::make<dea_type>(plan.n);  // every cell starts at the trap n
    for (const move& m : plan.moves) {
        for (char c : m.on) {
            d->det.cell(m.from, c) = m.to;
        }
    }
    for (std::size_t j = 0; j < plan.keyword.size(); ++j) {
        d->det.cell(static_cast<int>(j), plan.keyword[j]) = static_cast<int>(j) + 1;
    }
    for (int s : plan.finals) {
        if (s != 0) {
            d->f.inh[static_cast<std::size_t>(s)] = true;
        }
    }
    return d;
}

std::array<dea_ref, tokenart_count> build_all() {
    std::array<dea_ref, tokenart_count> table{};
    for (std::size_t k = 0; k < table.size(); ++k) {
        table[k] = build(token_rows[k].automaton);
    }
    return table;
}

// White space separates tokens: the blank, tab, line feed and carriage return only.
constexpr bool is_white(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

}  // namespace

std::string_view image(tokenart t) {
    const auto k = static_cast<std::size_t>(t);
    common::check(k < std::size(token_rows), common::place{module_name, __LINE__});
    return token_rows[k].image;
}

const std::array<dea_ref, tokenart_count>& scandeas() {
    static const std::array<dea_ref, tokenart_count> table = build_all();
    return table;
}

std::int32_t erkanntespraefix(dea_ref d, std::string_view w) {
    d = common::not_null(d, places::null_automaton);
    const auto& det = d->det;
    std::int32_t akt = 0;
    std::int32_t aktvorher = 0;
    std::int32_t ausgabe = 0;
    std::size_t i = 0;
    while (akt != d->n && i != w.size()) {
        aktvorher = akt;
        if (!det.in_range(w[i])) {
            akt = d->n;  // a character outside the table ends the run like the trap
        } else {
            akt = det.at(akt, w[i], places::prefix_step);
            ++i;
        }
        ++ausgabe;
    }
    if (d->f.contains(akt, places::prefix_last_state)) {
        return ausgabe;
    }
    if (d->f.contains(aktvorher, places::prefix_state_before)) {
        return ausgabe - 1;
    }
    return 0;
}

void pruefe(const dea_type& automat, std::string_view w) {
    dea::test_word(automat, w, common::standard_output(), {places::word_step, places::word_verdict});
}

listoftoken scanner(std::string_view w) {
    const auto& automata = scandeas();
    listoftoken first = nullptr;
    listoftoken* link = &first;  // where the next cell is hung
    std::size_t position = 0;
    while (true) {
        while (position < w.size() && is_white(w[position])) {
            ++position;
        }
        if (position == w.size()) {
            return first;
        }
        const char c = w[position];
        const int code = static_cast<unsigned char>(c);
        if (code < 33 || code > 126) {
            common::text_writer& out = common::standard_output();
            out.put("Das ASCII-Zeichen Nr.");
            out.put(common::image(code));
            out.put_line(" ist kein druckbares Zeichen");
            common::raise(eingabefehler, places::not_printable);
        }
        const std::string_view zwischenstring = w.substr(position);
        std::int32_t laengste = 0;
        tokenart gefundenertoken = tokenart::GANZEZAHL_TOKEN;
        for (int k = 0; k < tokenart_count; ++k) {
            const std::int32_t laenge =
                erkanntespraefix(automata[static_cast<std::size_t>(k)], zwischenstring);
            if (laenge >= laengste) {  // >=: on equal lengths the later kind wins
                laengste = laenge;
                gefundenertoken = static_cast<tokenart>(k);
            }
        }
        if (laengste == 0) {
            common::text_writer& out = common::standard_output();
            out.put_line("EINGABEFEHLER:");
            out.put("Das Zeichen '");
            out.put(c);
            out.put_line("' ist nicht im Sprachschatz der Token");
            common::raise(eingabefehler, places::no_token);
        }
        const auto length = static_cast<std::size_t>(laengste);
        elem* cell = common::make<elem>(gefundenertoken, std::string(zwischenstring.substr(0, length)));
        *link = cell;
        link = &cell->rest;
        position += length;
    }
}

void druckelistoftoken(listoftoken list) {
    common::text_writer& out = common::standard_output();
    out.new_line();
    for (listoftoken cursor = list; cursor != nullptr; cursor = cursor->rest) {
        out.put('(');
        out.put(image(cursor->token));
        out.put(",\"");
        out.put(cursor->string);
        out.put_line("\")");
    }
}

}  // namespace scannerpak
