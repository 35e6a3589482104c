// Lexical analyser of the While language: sixteen token automata, longest
// match, ties to the later kind. The scanner runs one automaton derived from
// the sixteen (token_automaton.hpp), built on its first use, which cuts the
// same tokens in one pass.
#include "frontend/scannerpak.hpp"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <span>
#include <type_traits>
#include <vector>

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "common/image.hpp"
#include "common/rows.hpp"
#include "common/textio.hpp"
#include "dea/build_dea.hpp"
#include "frontend/token_automaton.hpp"

namespace scannerpak {

namespace {

using dea::int32;
using dea::transition;

// A token automaton as data: its highest state (the trap), its final states
// and its listed moves; every other cell leads to the trap. A keyword
// automaton is given by its word alone.
struct automaton_plan {
    int32 n;
    std::array<int32, 2> finals;  // a trailing 0 marks an unused entry: state 0 is never final
    std::span<const transition> moves;
    std::string_view keyword;
};

constexpr std::string_view digits = "0123456789";
constexpr std::string_view letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// The moves of the automata that are not keywords, named by their kind.
constexpr transition ganzezahl[] = {{0, digits, 1}, {1, digits, 1}};
constexpr transition bezeichner[] = {{0, letters, 1}, {1, letters, 1}, {1, digits, 1}};
constexpr transition rop[] = {{0, "/", 1}, {0, "<>", 2}, {0, "=", 3}, {1, "=", 3}, {2, "=", 3}};
constexpr transition op[] = {{0, "*+-", 5}, {0, "d", 1}, {1, "i", 2}, {2, "v", 5},
                             {0, "m", 3},   {3, "o", 4}, {4, "d", 5}};
constexpr transition auf[] = {{0, "(", 1}};
constexpr transition zu[] = {{0, ")", 1}};
constexpr transition zuw[] = {{0, ":", 1}, {1, "=", 2}};
constexpr transition strichp[] = {{0, ";", 1}};

// An automaton of listed moves with the highest state n and up to two final states.
constexpr automaton_plan plan(int32 n, std::array<int32, 2> finals, std::span<const transition> moves) {
    return {n, finals, moves, {}};
}

// A keyword of k letters: state j - 1 leads to j on its j-th letter, k is
// final and k + 1 the trap.
constexpr automaton_plan keyword(std::string_view word) {
    const auto k = static_cast<int32>(word.size());
    return {k + 1, {k, 0}, {}, word};
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

// build returns the token automaton that `plan` describes.
dea_type build(const automaton_plan& plan) {
    std::vector<transition> spelled;  // a keyword's moves, one per letter
    for (std::size_t j = 0; j < plan.keyword.size(); ++j) {
        const auto from = static_cast<int32>(j);
        spelled.push_back({from, plan.keyword.substr(j, 1), from + 1});
    }
    const std::span<const transition> moves = plan.keyword.empty() ? plan.moves : spelled;
    const auto listed = std::ranges::count_if(plan.finals, [](int32 s) { return s != 0; });
    return dea::build_dea<dea_type>(plan.n, moves,
                                    std::span(plan.finals).first(static_cast<std::size_t>(listed)));
}

// Printable characters: the columns of the token automata.
constexpr bool is_printable(char c) {
    return decltype(dea_type::det)::in_range(c);
}

// White space separates tokens: the blank, tab, line feed and carriage return only.
constexpr bool is_white(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// image returns the literal name of a kind in upper case ("GANZEZAHL_TOKEN");
// a value outside the kinds raises the check error.
std::string_view image(tokenart t) {
    const auto k = static_cast<std::size_t>(t);
    common::check(k < std::size(token_rows), common::here());
    return token_rows[k].image;
}

}  // namespace

static_assert(std::is_trivially_destructible_v<elem> && sizeof(elem) == 3 * sizeof(void*));

const std::array<dea_ref, tokenart_count>& scandeas() {
    // The sixteen live as long as the process and outside the arena, so
    // that their first use may come inside an arena scope.
    static const std::vector<dea_type> automata = [] {
        std::vector<dea_type> built;
        built.reserve(tokenart_count);
        for (const token_row& row : token_rows) {
            built.push_back(build(row.automaton));
        }
        return built;
    }();
    static const std::array<dea_ref, tokenart_count> table = [] {
        std::array<dea_ref, tokenart_count> refs{};
        for (std::size_t k = 0; k < refs.size(); ++k) {
            refs[k] = &automata[k];
        }
        return refs;
    }();
    return table;
}

const token_automaton& scanner_automaton() {
    static const token_automaton automaton(scandeas());
    return automaton;
}

// ---- The scanner ----

listoftoken scanner(std::string_view w) {
    const token_automaton& automaton = scanner_automaton();
    if (w.empty()) {
        return nullptr;
    }
    // The cells' texts are views into this copy, which lives in the arena as
    // long as they do.
    char* const text = static_cast<char*>(common::arena_allocate(w.size(), 1));
    std::memcpy(text, w.data(), w.size());
    w = std::string_view(text, w.size());
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
        if (!is_printable(c)) {
            common::text_writer& out = common::standard_output();
            out.put("Das ASCII-Zeichen Nr.");
            out.put(common::image(static_cast<unsigned char>(c)));
            out.put_line(" ist kein druckbares Zeichen");
            common::raise(eingabefehler, places::not_printable);
        }
        const std::string_view zwischenstring = w.substr(position);
        const token_match found = automaton.match(zwischenstring);
        if (found.length == 0) {
            common::text_writer& out = common::standard_output();
            out.put_line("EINGABEFEHLER:");
            out.put("Das Zeichen '");
            out.put(c);
            out.put_line("' ist nicht im Sprachschatz der Token");
            common::raise(eingabefehler, places::no_token);
        }
        const auto length = static_cast<std::size_t>(found.length);
        elem* cell = common::make<elem>(found.kind, zwischenstring.substr(0, length));
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
        out.put(cursor->string());
        out.put_line("\")");
    }
}

}  // namespace scannerpak
