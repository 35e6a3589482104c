// Lexical analyser of the While language: sixteen token automata, longest
// match, ties to the later kind. The scanner runs one automaton derived from
// the sixteen at start-up, which cuts the same tokens in one pass.
#include "frontend/scannerpak.hpp"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

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

dea_type build(const automaton_plan& plan) {
    dea_type d(plan.n);  // every cell starts at the trap n
    for (const move& m : plan.moves) {
        for (char c : m.on) {
            d.det.cell(m.from, c) = m.to;
        }
    }
    for (std::size_t j = 0; j < plan.keyword.size(); ++j) {
        d.det.cell(static_cast<int>(j), plan.keyword[j]) = static_cast<int>(j) + 1;
    }
    for (int s : plan.finals) {
        if (s != 0) {
            d.f.inh[static_cast<std::size_t>(s)] = true;
        }
    }
    return d;
}

// The columns of the token automata: '!' .. '~', the printable characters without the blank.
constexpr bool is_printable(int code) {
    return code >= '!' && code <= '~';
}

// White space separates tokens: the blank, tab, line feed and carriage return only.
constexpr bool is_white(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

}  // namespace

static_assert(std::is_trivially_destructible_v<elem> && sizeof(elem) == 3 * sizeof(void*));

std::string_view image(tokenart t) {
    const auto k = static_cast<std::size_t>(t);
    common::check(k < std::size(token_rows), common::here());
    return token_rows[k].image;
}

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

token_match longest_match(const std::array<dea_ref, tokenart_count>& automata, std::string_view text) {
    token_match found{tokenart::GANZEZAHL_TOKEN, 0};
    for (int k = 0; k < tokenart_count; ++k) {
        const std::int32_t laenge = erkanntespraefix(automata[static_cast<std::size_t>(k)], text);
        if (laenge >= found.length) {  // >=: on equal lengths the later kind wins
            found = {static_cast<tokenart>(k), laenge};
        }
    }
    return found;
}

// ---- The derived automaton ----

namespace {

// The state of one part of the derived automaton: a token automaton's own
// run, as erkanntespraefix makes it. It runs until it enters its trap state
// (or reads a character outside the columns, which counts as that step);
// then it has stopped on that step, and from the next step on it has
// stopped earlier. `before_final` says whether the state before the last
// step was final; it is kept only where the result depends on it, so that
// equal futures make equal states.
struct part {
    enum class phase : std::uint8_t { running, stopping, stopped };
    phase ph = phase::running;
    std::int32_t akt = 0;  // while running: the automaton's state, never the trap
    bool before_final = false;

    bool operator==(const part&) const = default;
};

// A character outside '!' .. '~' stands for all such characters: each stops every part alike.
constexpr int outside_columns = 0;

bool is_final(const dea_type& d, std::int32_t s) {
    return d.f.inh[static_cast<std::size_t>(s)];
}

part running(const dea_type& d, std::int32_t akt, bool before_final) {
    // A final state gives the length read, whatever came before it.
    return {part::phase::running, akt, before_final && !is_final(d, akt)};
}

// step moves one part on the character `c`, or on any character outside the
// columns when `c` is outside_columns.
part step(const dea_type& d, const part& p, int c) {
    if (p.ph != part::phase::running) {
        return {part::phase::stopped, 0, false};
    }
    std::int32_t next = d.n;
    if (c != outside_columns) {
        next = d.det.at(p.akt, static_cast<char>(c), places::prefix_step);
        common::check(next >= 0 && next <= d.n, places::prefix_step);
    }
    const bool before_final = is_final(d, p.akt);
    if (next == d.n) {
        if (is_final(d, d.n)) {
            return {part::phase::stopping, 0, false};  // the length read, whatever came before it
        }
        if (before_final) {
            return {part::phase::stopping, 0, true};  // one less
        }
        return {part::phase::stopped, 0, false};  // nothing: as if it had stopped earlier
    }
    return running(d, next, before_final);
}

// The columns of a derivation: column 0 stands for every character outside
// '!' .. '~', column j for the character '!' + j - 1.
constexpr int column_count = 1 + ('~' - '!' + 1);

constexpr int character_of(int column) {
    return column == 0 ? outside_columns : '!' + column - 1;
}

// The parts that one token automaton's run can be in, numbered from its
// start, and the number each moves to on each column.
struct part_table {
    std::vector<part> parts;
    std::vector<std::uint8_t> next;  // column_count cells per part

    explicit part_table(const dea_type& d) {
        parts.push_back(running(d, 0, false));            // before the first step only the empty word ends
        for (std::size_t i = 0; i < parts.size(); ++i) {  // parts grows while it is walked
            for (int column = 0; column < column_count; ++column) {
                const part moved = step(d, parts[i], character_of(column));
                auto found = std::find(parts.begin(), parts.end(), moved);
                if (found == parts.end()) {
                    common::check(parts.size() < 256, places::prefix_step);
                    found = parts.insert(parts.end(), moved);
                }
                next.push_back(static_cast<std::uint8_t>(found - parts.begin()));
            }
        }
    }

    [[nodiscard]] std::uint8_t after(std::uint8_t part_number, int column) const {
        return next[static_cast<std::size_t>(part_number) * column_count + static_cast<std::size_t>(column)];
    }
};

// A state of the derived automaton: the number of each part.
using product = std::array<std::uint8_t, tokenart_count>;

}  // namespace

token_automaton::token_automaton(const std::array<dea_ref, tokenart_count>& automata) {
    std::vector<part_table> tables;
    for (dea_ref d : automata) {
        const dea_type& automaton = *common::not_null(d, places::null_automaton);
        // A start that is the trap already is a case the product does not
        // derive; no token automaton is one.
        common::check(automaton.n >= 1, common::here());
        tables.emplace_back(automaton);
    }
    // What one part contributes: on the step on which it stops, the length
    // read (its trap is final) or one less (the state before was final); at
    // the end of the text while it runs, the length read (its state is
    // final) or one less (the state before was).
    const auto contribution_of = [&](std::size_t k, std::uint8_t part_number,
                                     part::phase when) -> contribution {
        const dea_type& d = *automata[k];
        const part& p = tables[k].parts[part_number];
        if (p.ph != when) {
            return {};
        }
        const std::int32_t last = when == part::phase::stopping ? d.n : p.akt;
        if (is_final(d, last)) {
            return {static_cast<std::int8_t>(k), 0};
        }
        if (p.before_final) {
            return {static_cast<std::int8_t>(k), 1};
        }
        return {};
    };
    // The better of two contributions of one state: the longer, then the later kind.
    const auto better = [](contribution a, contribution b) {
        if (b.kind < 0) {
            return a;
        }
        if (a.kind < 0 || b.back < a.back || (b.back == a.back && b.kind > a.kind)) {
            return b;
        }
        return a;
    };

    std::map<product, std::uint16_t> number;
    std::vector<product> states;
    const auto state_of = [&](const product& p) {
        const auto [where, fresh] = number.try_emplace(p, static_cast<std::uint16_t>(states.size()));
        if (fresh) {
            common::check(states.size() <= state_bits, places::prefix_step);
            states.push_back(p);
        }
        return where->second;
    };
    state_of(product{});  // every part at its start, numbered 0
    std::array<std::uint16_t, column_count> targets{};
    for (std::size_t s = 0; s < states.size(); ++s) {  // states grows while it is walked
        for (int column = 0; column < column_count; ++column) {
            product moved;
            for (std::size_t k = 0; k < moved.size(); ++k) {
                moved[k] = tables[k].after(states[s][k], column);
            }
            targets[static_cast<std::size_t>(column)] = state_of(moved);
        }
        for (int c = 0; c < 256; ++c) {
            next_.push_back(targets[static_cast<std::size_t>(is_printable(c) ? c - '!' + 1 : 0)]);
        }
    }
    info_.reserve(states.size());
    for (const product& p : states) {
        state_info info{{}, {}, true};
        for (std::size_t k = 0; k < p.size(); ++k) {
            info.at_step = better(info.at_step, contribution_of(k, p[k], part::phase::stopping));
            info.at_end = better(info.at_end, contribution_of(k, p[k], part::phase::running));
            info.stopped = info.stopped && tables[k].parts[p[k]].ph != part::phase::running;
        }
        info_.push_back(info);
    }
    // Most steps lead to a state where nothing happens; the others are
    // marked in the table, so that a step reads one cell.
    for (std::uint16_t& cell : next_) {
        const state_info& info = info_[cell];
        if (info.at_step.kind >= 0 || info.stopped) {
            cell |= marked;
        }
    }
}

const token_automaton& scanner_automaton() {
    static const token_automaton automaton(scandeas());
    return automaton;
}

namespace {

// A contribution of `read` characters less `back`, taken when it is longer
// than `found`, or as long and of a later kind.
template <class Contribution>
void take(token_match& found, Contribution c, std::size_t read) {
    if (c.kind < 0) {
        return;
    }
    const auto length = static_cast<std::int32_t>(read) - c.back;
    if (length > found.length ||
        (length == found.length && length > 0 && c.kind > static_cast<int>(found.kind))) {
        found = {static_cast<tokenart>(c.kind), length};
    }
}

}  // namespace

token_match token_automaton::match(std::string_view text) const {
    token_match found{tokenart::GANZEZAHL_TOKEN, 0};
    std::size_t state = 0;
    std::size_t read = 0;
    while (read < text.size()) {
        const std::uint16_t cell = next_[state * 256 + static_cast<unsigned char>(text[read])];
        ++read;
        state = cell & state_bits;
        if ((cell & marked) != 0) {
            const state_info& info = info_[state];
            take(found, info.at_step, read);
            if (info.stopped) {
                return found;
            }
        }
    }
    take(found, info_[state].at_end, read);
    return found;
}

namespace {

// scan cuts `w` into tokens, each the token_match that `match` finds at its start.
template <class Match>
listoftoken scan(std::string_view w, Match match) {
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
        const int code = static_cast<unsigned char>(c);
        if (!is_printable(code)) {
            common::text_writer& out = common::standard_output();
            out.put("Das ASCII-Zeichen Nr.");
            out.put(common::image(code));
            out.put_line(" ist kein druckbares Zeichen");
            common::raise(eingabefehler, places::not_printable);
        }
        const std::string_view zwischenstring = w.substr(position);
        const token_match found = match(zwischenstring);
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

}  // namespace

listoftoken scanner(std::string_view w) {
    const token_automaton& automaton = scanner_automaton();
    return scan(w, [&automaton](std::string_view rest) { return automaton.match(rest); });
}

listoftoken plain_scanner(std::string_view w) {
    const auto& automata = scandeas();
    return scan(w, [&automata](std::string_view rest) { return longest_match(automata, rest); });
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
