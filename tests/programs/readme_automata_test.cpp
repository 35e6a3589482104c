// The README's sections on zorbel, halvik and quenmar give every automaton
// as its moves and final states, and say what each program computes from
// them. The test builds the automata from the README's tables, computes each
// line of a report from what the README says it is (an entry, an epsilon
// hull, a set operation, the equivalence of two automata, the verdict on a
// word), and holds it against the README's own answer and against the
// program's output, line by line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <map>
#include <numeric>
#include <optional>
#include <queue>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/support/markdown.hpp"
#include "tests/support/program_run.hpp"

namespace {

using test_support::code_spans;
using test_support::fill_in;
using test_support::readme;
using test_support::sentence;
using test_support::sentence_with;
using test_support::table_row;

// The lines of a program's report, which must end with a line end.
std::vector<std::string> report_lines(const std::string& program) {
    const test_support::text_lines report = test_support::lines_of(test_support::report_of(program));
    EXPECT_TRUE(report.complete) << program << "'s last line has no line end";
    return report.lines;
}

// The one code span of a cell, or "" with a failure.
std::string span_of(const std::string& cell, const std::string& place) {
    const std::vector<std::string> spans = code_spans(cell);
    if (spans.size() != 1) {
        ADD_FAILURE() << place << ": no code span alone: " << cell;
        return "";
    }
    return spans.front();
}

// What may follow where a text reads as a pattern from its start: nothing,
// or a remark, which begins with ':' or ','.
enum class then { nothing, remark };

std::optional<std::vector<std::string>> reads_as(std::string_view text, std::string_view pattern,
                                                 then after = then::nothing) {
    const auto filled = fill_in(text, pattern);
    const bool remark = after == then::remark && filled && filled->end < text.size() &&
                        (text[filled->end] == ':' || text[filled->end] == ',');
    if (!filled || filled->begin != 0 || (filled->end != text.size() && !remark)) {
        return std::nullopt;
    }
    return filled->blanks;
}

std::optional<int> state_number(std::string_view word) {
    const auto n = test_support::figure(word);
    if (!n || word.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    return static_cast<int>(*n);
}

// A list of states, "0, 2, 5", or a range of them, "1 to 7".
std::optional<std::set<int>> states_of(std::string_view text) {
    if (const auto range = reads_as(text, "{} to {}")) {
        const auto first = state_number(range->at(0));
        const auto last = state_number(range->at(1));
        if (!first || !last || *last < *first) {
            return std::nullopt;
        }
        std::set<int> states;
        for (int s = *first; s <= *last; ++s) {
            states.insert(s);
        }
        return states;
    }
    std::set<int> states;
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t end = std::min(text.find(", ", at), text.size());
        const auto s = state_number(text.substr(at, end - at));
        if (!s) {
            return std::nullopt;
        }
        states.insert(*s);
        at = end + 2;
    }
    return states;
}

// A move s -x-> t of the tables: x is one character, or "eps" for a move
// that reads none; t is one state, or a set of them, "{1, 3}".
struct move {
    int from;
    std::string on;
    std::set<int> to;
};

// moves_of reads the moves of a cell: s -x-> t, one after the other,
// separated by ", " or "; ", or "from each state s of 0 to 3, `-` and `.`
// lead to s + 1". nullopt when the text is neither.
std::optional<std::vector<move>> moves_of(std::string_view text) {
    if (const auto each = reads_as(text, "from each state s of {} to {}, `{}` and `{}` lead to s + 1")) {
        const auto first = state_number(each->at(0));
        const auto last = state_number(each->at(1));
        if (!first || !last || each->at(2).size() != 1 || each->at(3).size() != 1) {
            return std::nullopt;
        }
        std::vector<move> moves;
        for (int s = *first; s <= *last; ++s) {
            moves.push_back({s, each->at(2), {s + 1}});
            moves.push_back({s, each->at(3), {s + 1}});
        }
        return moves;
    }
    std::vector<move> moves;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t dash = text.find(" -", at);
        const std::size_t arrow = dash == std::string_view::npos ? dash : text.find("-> ", dash + 3);
        if (arrow == std::string_view::npos) {
            return std::nullopt;
        }
        const auto from = state_number(text.substr(at, dash - at));
        move m{from.value_or(-1), std::string(text.substr(dash + 2, arrow - dash - 2)), {}};
        at = arrow + 3;
        std::size_t end = std::min(text.find_first_of(",;", at), text.size());
        if (at < text.size() && text[at] == '{') {
            end = text.find('}', at);
            const auto to =
                end == std::string_view::npos ? std::nullopt : states_of(text.substr(at + 1, end - at - 1));
            if (!to) {
                return std::nullopt;
            }
            m.to = *to;
            ++end;
        } else if (const auto to = state_number(text.substr(at, end - at))) {
            m.to = {*to};
        } else {
            return std::nullopt;
        }
        if (!from || m.on.empty()) {
            return std::nullopt;
        }
        moves.push_back(std::move(m));
        if (end != text.size() && !text.substr(end).starts_with(", ") &&
            !text.substr(end).starts_with("; ")) {
            return std::nullopt;
        }
        at = end == text.size() ? end : end + 2;
    }
    return moves;
}

// A cell of moves with a remark: the moves, and the text before or after
// them across ": ", which says something of them.
struct remarked_moves {
    std::vector<move> moves;
    std::string remark;
};

std::optional<remarked_moves> moves_with_remark(const std::string& cell) {
    if (const auto moves = moves_of(cell)) {
        return remarked_moves{*moves, ""};
    }
    const std::size_t colon = cell.find(": ");
    if (colon == std::string::npos) {
        return std::nullopt;
    }
    if (const auto moves = moves_of(cell.substr(0, colon))) {
        return remarked_moves{*moves, cell.substr(colon + 2)};
    }
    if (const auto moves = moves_of(cell.substr(colon + 2))) {
        return remarked_moves{*moves, cell.substr(0, colon)};
    }
    return std::nullopt;
}

// ---- zorbel: nondeterministic automata ----

struct nfa {
    std::string name;
    std::vector<move> moves;
    std::set<int> finals;
    std::string place;
};

// The entry of `state` and `on`: every state its moves on `on` lead to.
std::set<int> entry(const nfa& a, int state, std::string_view on) {
    std::set<int> to;
    for (const move& m : a.moves) {
        if (m.from == state && m.on == on) {
            to.insert(m.to.begin(), m.to.end());
        }
    }
    return to;
}

// The states and every state they reach by eps moves alone.
std::set<int> epsilon_hull(const nfa& a, std::set<int> states) {
    std::vector<int> open(states.begin(), states.end());
    while (!open.empty()) {
        const int s = open.back();
        open.pop_back();
        for (const int t : entry(a, s, "eps")) {
            if (states.insert(t).second) {
                open.push_back(t);
            }
        }
    }
    return states;
}

bool accepts(const nfa& a, std::string_view word) {
    std::set<int> states = epsilon_hull(a, {0});
    for (const char c : word) {
        std::set<int> next;
        for (const int s : states) {
            const std::set<int> to = entry(a, s, std::string(1, c));
            next.insert(to.begin(), to.end());
        }
        states = epsilon_hull(a, next);
    }
    return std::ranges::any_of(states, [&](int s) { return a.finals.contains(s); });
}

std::set<std::pair<int, int>> graph_of(const nfa& a) {
    std::set<std::pair<int, int>> edges;
    for (const move& m : a.moves) {
        for (const int t : m.to) {
            edges.insert({m.from, t});
        }
    }
    return edges;
}

std::vector<nfa> zorbel_automata() {
    const sentence builds =
        sentence_with(readme(), "`zorbel` builds {} nondeterministic automata over the states {} to {},");
    const auto table = test_support::table_with_header(readme(), {"automaton", "moves", "final states"});
    EXPECT_EQ(table.rows.size(), builds.number(0)) << builds.place;
    const auto in_range = [&](int s) {
        return s >= static_cast<int>(builds.number(1)) && s <= static_cast<int>(builds.number(2));
    };
    std::vector<nfa> automata;
    for (const table_row& row : table.rows) {
        const std::string place = readme().place(row.line);
        const auto moves = moves_with_remark(row.cells.at(1));
        const auto finals = states_of(row.cells.at(2));
        if (!moves || !finals) {
            ADD_FAILURE() << place << ": moves or final states the test cannot read";
            continue;
        }
        nfa a{span_of(row.cells.at(0), place), moves->moves, *finals, place};
        for (const move& m : a.moves) {
            EXPECT_TRUE(in_range(m.from) && std::ranges::all_of(m.to, in_range))
                << place << ": a state beyond " << builds.place;
            EXPECT_TRUE(m.on.size() == 1 || m.on == "eps") << place << ": the move on " << m.on;
        }
        EXPECT_TRUE(std::ranges::all_of(a.finals, in_range)) << place;
        if (moves->remark == "the same graph with eps moves only") {
            EXPECT_TRUE(!automata.empty() && graph_of(automata.back()) == graph_of(a)) << place;
            EXPECT_TRUE(std::ranges::all_of(a.moves, [](const move& m) { return m.on == "eps"; })) << place;
        } else if (!moves->remark.empty()) {
            ADD_FAILURE() << place << ": a remark the test cannot read: " << moves->remark;
        }
        automata.push_back(std::move(a));
    }
    return automata;
}

// "The first two accept the words a…a whose length is divisible by 2 or by
// 3". Over one letter the states reached after n letters and n modulo the
// two divisors' multiple together take fewer values than 2 to the number of
// states times that multiple: from the first that repeats on, everything
// repeats, so the words up to that length show all.
TEST(ReadmeAutomata, ZorbelsFirstAutomataAcceptTheLengthsTheReadmeSays) {
    const std::vector<nfa> automata = zorbel_automata();
    const sentence accept = sentence_with(
        readme(), "The first {} accept the words a…a whose length is divisible by {} or by {},");
    ASSERT_LE(accept.number(0), automata.size()) << accept.place;
    const std::size_t p = accept.number(1);
    const std::size_t q = accept.number(2);
    const std::size_t enough = (std::size_t{1} << 6) * std::lcm(p, q);
    for (std::size_t i = 0; i < accept.number(0); ++i) {
        for (std::size_t n = 0; n <= enough; ++n) {
            EXPECT_EQ(accepts(automata[i], std::string(n, 'a')), n % p == 0 || n % q == 0)
                << accept.place << ": " << automata[i].name << " on " << n << " letters";
        }
    }
}

// A set prints as "{ 1, 3}", the empty set as "{}".
std::string printed(const std::set<int>& states) {
    std::string text = "{";
    for (const int s : states) {
        text += ' ';
        text += std::to_string(s);
        text += ',';
    }
    if (text.ends_with(',')) {
        text.pop_back();
    }
    return text + "}";
}

std::string printed(bool truth) {
    return truth ? "TRUE" : "FALSE";
}

// What the lines of zorbel's table say it computes: named entries and hulls
// of the automata, and the sets z1, z2 built line by line.
class zorbel_lines {
public:
    explicit zorbel_lines(const std::vector<nfa>& automata) : automata_(automata) {}

    // line returns what the phrase `what` of a line says zorbel prints; a
    // phrase the test cannot read fails, naming `place`.
    std::optional<std::string> line(const std::string& what, const std::string& place) {
        for (const phrase& p : phrases()) {
            if (const auto blanks = reads_as(what, p.pattern, then::remark)) {
                place_ = place;
                return p.value(*blanks);
            }
        }
        ADD_FAILURE() << place << ": a line the test cannot read: " << what;
        return std::nullopt;
    }

private:
    struct state_set {
        int lowest;
        int highest;
        std::set<int> members;
    };
    struct phrase {
        std::string_view pattern;
        std::function<std::optional<std::string>(const std::vector<std::string>&)> value;
    };

    const nfa* automaton(const std::string& name) {
        const auto a = std::ranges::find(automata_, name, &nfa::name);
        if (a == automata_.end()) {
            ADD_FAILURE() << place_ << ": no automaton " << name;
            return nullptr;
        }
        return &*a;
    }
    state_set* set(const std::string& name) {
        const auto s = sets_.find(name);
        if (s == sets_.end()) {
            ADD_FAILURE() << place_ << ": no set " << name << " yet";
            return nullptr;
        }
        return &s->second;
    }
    std::optional<int> state(const std::string& word) {
        const auto s = state_number(word);
        if (!s) {
            ADD_FAILURE() << place_ << ": no state " << word;
        }
        return s;
    }
    void add(state_set& z, int s) {
        EXPECT_TRUE(s >= z.lowest && s <= z.highest) << place_ << ": state " << s << " beyond its set";
        z.members.insert(s);
    }

    std::vector<phrase> phrases() {
        using blanks = std::vector<std::string>;
        return {
            {"the entry of `{}` for state {} and `{}`",
             [this](const blanks& b) -> std::optional<std::string> {
                 const nfa* a = automaton(b[0]);
                 const auto s = state(b[1]);
                 return a != nullptr && s ? std::optional(printed(entry(*a, *s, b[2]))) : std::nullopt;
             }},
            {"the eps entry of `{}` for state {}",
             [this](const blanks& b) -> std::optional<std::string> {
                 const nfa* a = automaton(b[0]);
                 const auto s = state(b[1]);
                 return a != nullptr && s ? std::optional(printed(entry(*a, *s, "eps"))) : std::nullopt;
             }},
            {"the epsilon hull of state {} in `{}`",
             [this](const blanks& b) -> std::optional<std::string> {
                 const auto s = state(b[0]);
                 const nfa* a = automaton(b[1]);
                 return a != nullptr && s ? std::optional(printed(epsilon_hull(*a, {*s}))) : std::nullopt;
             }},
            {"{}, a new empty set over the states {} to {}",
             [this](const blanks& b) -> std::optional<std::string> {
                 const auto lowest = state(b[1]);
                 const auto highest = state(b[2]);
                 if (!lowest || !highest) {
                     return std::nullopt;
                 }
                 sets_[b[0]] = {*lowest, *highest, {}};
                 return printed(sets_[b[0]].members);
             }},
            {"{} is empty",
             [this](const blanks& b) -> std::optional<std::string> {
                 const state_set* z = set(b[0]);
                 return z != nullptr ? std::optional(printed(z->members.empty())) : std::nullopt;
             }},
            {"{} after adding state {}",
             [this](const blanks& b) -> std::optional<std::string> {
                 state_set* z = set(b[0]);
                 const auto s = state(b[1]);
                 if (z == nullptr || !s) {
                     return std::nullopt;
                 }
                 add(*z, *s);
                 return printed(z->members);
             }},
            {"{} equals {}, a second set made with the one member {}",
             [this](const blanks& b) -> std::optional<std::string> {
                 const state_set* z1 = set(b[0]);
                 const auto s = state(b[2]);
                 if (z1 == nullptr || !s) {
                     return std::nullopt;
                 }
                 sets_[b[1]] = {z1->lowest, z1->highest, {}};
                 add(sets_[b[1]], *s);
                 return printed(z1->members == sets_[b[1]].members);
             }},
            {"{} equals {} after state {} is added to {}",
             [this](const blanks& b) -> std::optional<std::string> {
                 const state_set* z1 = set(b[0]);
                 state_set* z2 = set(b[1]);
                 const auto s = state(b[2]);
                 EXPECT_EQ(b[1], b[3]) << place_;
                 if (z1 == nullptr || z2 == nullptr || !s) {
                     return std::nullopt;
                 }
                 add(*z2, *s);
                 return printed(z1->members == z2->members);
             }},
            {"the union of {} and {}",
             [this](const blanks& b) -> std::optional<std::string> {
                 const state_set* z1 = set(b[0]);
                 const state_set* z2 = set(b[1]);
                 if (z1 == nullptr || z2 == nullptr) {
                     return std::nullopt;
                 }
                 std::set<int> both = z1->members;
                 both.insert(z2->members.begin(), z2->members.end());
                 return printed(both);
             }},
        };
    }

    const std::vector<nfa>& automata_;
    std::map<std::string, state_set> sets_;
    std::string place_;
};

// Each line of zorbel's report is what the table's third column says it is,
// as the output column shows it, and the report is these lines alone.
TEST(ReadmeAutomata, ZorbelPrintsWhatEachLineOfItsTableSays) {
    const std::vector<nfa> automata = zorbel_automata();
    const auto table = test_support::table_with_header(readme(), {"line", "output", "what it is"});
    zorbel_lines computed(automata);
    const std::vector<std::string> report = report_lines("zorbel");
    EXPECT_EQ(report.size(), table.rows.size()) << readme().place(table.line) << ": zorbel's lines";
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const table_row& row = table.rows[i];
        const std::string place = readme().place(row.line);
        EXPECT_EQ(row.cells.at(0), std::to_string(i + 1)) << place;
        const std::string shown = span_of(row.cells.at(1), place);
        if (const auto line = computed.line(row.cells.at(2), place)) {
            EXPECT_EQ(shown, *line) << place << ": " << row.cells.at(2);
        }
        if (i < report.size()) {
            EXPECT_EQ(report[i], shown) << place << ": zorbel's line " << i + 1;
        }
    }
}

// ---- halvik and quenmar: deterministic automata ----

// A deterministic automaton over the characters first to last: a move not
// listed leads to the trap, the highest state, which never leaves.
struct dfa {
    int trap = 0;
    std::map<std::pair<int, char>, int> moves;
    std::set<int> finals;
    char first = '!';
    char last = '~';

    [[nodiscard]] int step(int s, char c) const {
        const auto m = moves.find({s, c});
        return m == moves.end() ? trap : m->second;
    }
    [[nodiscard]] int run(std::string_view word) const {
        int s = 0;
        for (const char c : word) {
            s = step(s, c);
        }
        return s;
    }
    [[nodiscard]] bool accepts(std::string_view word) const { return finals.contains(run(word)); }
};

// dfa_of builds the automaton of a table's row; a move that is not one
// character to one state, a second move of a state on a character, a move
// of the trap, a state beyond the trap or a character beyond the alphabet
// fails, naming `place`. So does a state below the trap that is neither the
// start nor named by a move: the highest state written must be the trap,
// the first state after the automaton's own.
std::optional<dfa> dfa_of(int trap, const std::vector<move>& moves, const std::set<int>& finals, char first,
                          char last, const std::string& place) {
    dfa a{trap, {}, finals, first, last};
    bool good = std::ranges::all_of(finals, [&](int s) { return s >= 0 && s <= trap; });
    for (const move& m : moves) {
        const bool one = m.on.size() == 1 && m.to.size() == 1;
        const int to = one ? *m.to.begin() : -1;
        if (!one || m.from < 0 || m.from >= trap || to < 0 || to > trap || m.on[0] < first ||
            m.on[0] > last || !a.moves.insert({{m.from, m.on[0]}, to}).second) {
            good = false;
        }
    }
    for (int s = 1; s < trap; ++s) {
        good = good &&
               std::ranges::any_of(moves, [&](const move& m) { return m.from == s || m.to.contains(s); });
    }
    if (!good) {
        ADD_FAILURE() << place << ": no deterministic automaton with the trap " << trap;
        return std::nullopt;
    }
    return a;
}

// judged_equal runs both automata side by side from their start states over
// every character of their alphabet and collects the pairs of states they
// reach together. As halvik's test does, by the README, it leaves out the
// pair of the two traps and finds the automata unequal when in a pair
// exactly one state is a trap or exactly one is final; with `languages`
// alone it compares what they accept: no pair may have exactly one final
// state.
bool judged_equal(const dfa& a, const dfa& b, bool languages) {
    std::set<std::pair<int, int>> seen = {{0, 0}};
    std::queue<std::pair<int, int>> open;
    open.push({0, 0});
    while (!open.empty()) {
        const auto [p, q] = open.front();
        open.pop();
        if (a.finals.contains(p) != b.finals.contains(q) || (!languages && (p == a.trap) != (q == b.trap))) {
            return false;
        }
        for (int c = a.first; c <= a.last; ++c) {
            const std::pair<int, int> next = {a.step(p, static_cast<char>(c)),
                                              b.step(q, static_cast<char>(c))};
            if ((languages || next != std::pair{a.trap, b.trap}) && seen.insert(next).second) {
                open.push(next);
            }
        }
    }
    return true;
}

bool same_language(const dfa& a, const dfa& b) {
    return judged_equal(a, b, true);
}

// A language written as the README writes DEA 1's: alternatives between ",
// and ", each a sequence of items between ", ": a word, "`ab`", or any
// number of a letter, "any `b`s".
struct item {
    char letter;
    bool any;
};
using described_language = std::vector<std::vector<item>>;

std::optional<described_language> language_of(std::string_view text) {
    described_language alternatives;
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t end = std::min(text.find(", and ", at), text.size());
        const std::string_view alternative = text.substr(at, end - at);
        std::vector<item> items;
        for (std::size_t i = 0; i <= alternative.size();) {
            const std::size_t comma = std::min(alternative.find(", ", i), alternative.size());
            const std::string_view piece = alternative.substr(i, comma - i);
            if (const auto any = reads_as(piece, "any `{}`s"); any && any->at(0).size() == 1) {
                items.push_back({any->at(0)[0], true});
            } else if (piece.size() > 2 && piece.front() == '`' && piece.back() == '`' &&
                       piece.substr(1, piece.size() - 2).find('`') == std::string_view::npos) {
                for (const char c : piece.substr(1, piece.size() - 2)) {
                    items.push_back({c, false});
                }
            } else {
                return std::nullopt;
            }
            i = comma + 2;
        }
        alternatives.push_back(std::move(items));
        at = end + std::string_view(", and ").size();
    }
    return alternatives;
}

// Where a reading of a described language may stand: an alternative and the
// number of its items read.
using positions = std::set<std::pair<std::size_t, std::size_t>>;

positions closed(const described_language& l, positions at) {
    for (auto [alternative, i] : positions(at)) {
        while (i < l[alternative].size() && l[alternative][i].any) {
            at.insert({alternative, ++i});
        }
    }
    return at;
}

bool ends(const described_language& l, const positions& at) {
    return std::ranges::any_of(at, [&](const auto& p) { return p.second == l[p.first].size(); });
}

// describes runs the automaton and the description side by side over every
// word, as judged_equal runs two automata: no state reached may disagree.
bool describes(const described_language& l, const dfa& a) {
    positions start;
    for (std::size_t alternative = 0; alternative < l.size(); ++alternative) {
        start.insert({alternative, 0});
    }
    std::set<std::pair<int, positions>> seen = {{0, closed(l, start)}};
    std::vector<std::pair<int, positions>> open(seen.begin(), seen.end());
    while (!open.empty()) {
        const auto [s, at] = open.back();
        open.pop_back();
        if (a.finals.contains(s) != ends(l, at)) {
            return false;
        }
        for (int c = a.first; c <= a.last; ++c) {
            positions next;
            for (const auto& [alternative, i] : at) {
                const std::vector<item>& items = l[alternative];
                if (i < items.size() && items[i].letter == c) {
                    next.insert({alternative, items[i].any ? i : i + 1});
                }
            }
            std::pair<int, positions> pair{a.step(s, static_cast<char>(c)), closed(l, next)};
            if (seen.insert(pair).second) {
                open.push_back(std::move(pair));
            }
        }
    }
    return true;
}

// The words an automaton accepts, when they are finitely many. A language
// of an automaton of n states is infinite when, and only when, it holds a
// word of n to 2n - 1 letters; so the words up to that length tell.
std::optional<std::set<std::string>> finite_language(const dfa& a) {
    const auto n = static_cast<std::size_t>(a.trap + 1);
    std::set<std::string> words;
    std::function<void(int, std::string&)> walk = [&](int s, std::string& word) {
        if (a.finals.contains(s)) {
            words.insert(word);
        }
        if (word.size() + 1 < 2 * n) {
            for (const auto& [from_on, to] : a.moves) {
                if (from_on.first == s) {
                    word.push_back(from_on.second);
                    walk(to, word);
                    word.pop_back();
                }
            }
        }
    };
    std::string word;
    walk(0, word);
    if (std::ranges::any_of(words, [&](const std::string& w) { return w.size() >= n; })) {
        return std::nullopt;
    }
    return words;
}

// The Roman numerals of 1 to 39.
std::vector<std::string> roman_numerals() {
    std::vector<std::string> numerals;
    for (int n = 1; n < 40; ++n) {
        numerals.push_back(std::string(static_cast<std::size_t>(n / 10), 'X') +
                           std::vector<std::string>{"", "I", "II", "III", "IV", "V", "VI", "VII", "VIII",
                                                    "IX"}[static_cast<std::size_t>(n % 10)]);
    }
    return numerals;
}

// What the remark of a word test's moves says the automaton accepts: "the
// Roman numerals I to X" or "the words of `-` and `.` of length 1 to 4";
// nullopt for any other remark.
std::optional<std::set<std::string>> remarked_language(std::string_view remark) {
    if (const auto roman = reads_as(remark, "the Roman numerals {} to {}")) {
        const std::vector<std::string> numerals = roman_numerals();
        const auto first = std::ranges::find(numerals, roman->at(0));
        const auto last = std::ranges::find(numerals, roman->at(1));
        if (first == numerals.end() || last == numerals.end() || last < first) {
            return std::nullopt;
        }
        return std::set<std::string>(first, last + 1);
    }
    if (const auto words = reads_as(remark, "the words of `{}` and `{}` of length {} to {}")) {
        const auto shortest = test_support::figure(words->at(2));
        const auto longest = test_support::figure(words->at(3));
        if (words->at(0).size() != 1 || words->at(1).size() != 1 || !shortest || !longest) {
            return std::nullopt;
        }
        std::set<std::string> language;
        std::set<std::string> length = {""};
        for (std::size_t n = 1; n <= *longest; ++n) {
            std::set<std::string> longer;
            for (const std::string& w : length) {
                longer.insert(w + words->at(0));
                longer.insert(w + words->at(1));
            }
            length = longer;
            if (n >= *shortest) {
                language.insert(length.begin(), length.end());
            }
        }
        return language;
    }
    return std::nullopt;
}

// A word of the tables and the README's verdict on it.
struct tested_word {
    std::string word;
    bool belongs;
};

// tested_words reads "`aa` yes, `ab` no, `ab ` (with a trailing blank) no".
std::optional<std::vector<tested_word>> tested_words(std::string_view cell, const std::string& place) {
    std::vector<tested_word> words;
    for (std::size_t at = 0; at < cell.size();) {
        const std::size_t close = cell[at] == '`' ? cell.find('`', at + 1) : std::string_view::npos;
        if (close == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string word = test_support::span_text(cell.substr(at + 1, close - at - 1));
        const std::size_t end = std::min(cell.find(", `", close), cell.size());
        std::string_view verdict = cell.substr(close + 1, end - close - 1);
        constexpr std::string_view trailing_blank = " (with a trailing blank)";
        if (verdict.starts_with(trailing_blank)) {
            EXPECT_TRUE(word.ends_with(' ')) << place << ": \"" << word << "\" ends in no blank";
            verdict.remove_prefix(trailing_blank.size());
        }
        if (verdict != " yes" && verdict != " no") {
            return std::nullopt;
        }
        words.push_back({word, verdict == " yes"});
        at = end == cell.size() ? end : end + 2;
    }
    return words;
}

// A verdict line: the word between its quotes, then whether it belongs.
struct verdict_form {
    std::string open;      // `"`
    std::string belongs;   // `" gehoert`
    std::string rejected;  // ` nicht`, when the word is rejected
    std::string close;     // ` zum Sprachschatz`

    [[nodiscard]] std::string line(std::string_view word, bool in) const {
        return open + std::string(word) + belongs + (in ? "" : rejected) + close;
    }
};

// The lines of a word test: each verdict, followed by an empty line.
void expect_verdicts(const std::vector<std::string>& report, std::size_t from, const verdict_form& form,
                     const std::vector<std::pair<tested_word, std::string>>& words) {
    for (std::size_t k = 0; k < words.size(); ++k) {
        const auto& [tested, place] = words[k];
        const std::size_t at = from + 2 * k;
        ASSERT_LT(at + 1, report.size()) << place << ": the report ends before this verdict";
        EXPECT_EQ(report[at], form.line(tested.word, tested.belongs)) << place << ": the line " << at + 1;
        EXPECT_EQ(report[at + 1], "") << place << ": the line " << at + 2 << " after the verdict";
    }
    EXPECT_EQ(report.size(), from + 2 * words.size()) << "lines after the last verdict";
}

// ---- halvik ----

struct numbered_dfa {
    dfa automaton;
    std::string place;
};

// The row's automaton, from its highest state, moves and final states.
std::optional<dfa> row_dfa(const std::string& trap, const std::string& moves, const std::string& finals,
                           char first, char last, const std::string& place, std::string* remark) {
    const auto highest = state_number(trap);
    const auto listed = moves_with_remark(moves);
    const auto final_states = states_of(finals);
    if (!highest || !listed || !final_states) {
        ADD_FAILURE() << place << ": a highest state, moves or final states the test cannot read";
        return std::nullopt;
    }
    if (remark != nullptr) {
        *remark = listed->remark;
    } else if (!listed->remark.empty()) {
        ADD_FAILURE() << place << ": a remark the test cannot read: " << listed->remark;
    }
    return dfa_of(*highest, listed->moves, *final_states, first, last, place);
}

struct halvik_alphabet {
    char first;
    char last;
};

halvik_alphabet halvik_characters() {
    const sentence over = sentence_with(readme(), "over every character from `{}` to `{}`,");
    if (over.blanks.at(0).size() != 1 || over.blanks.at(1).size() != 1) {
        ADD_FAILURE() << over.place << ": no characters";
        return {'!', '~'};
    }
    return {over.blanks.at(0)[0], over.blanks.at(1)[0]};
}

// The four automata compared, each with what its language column says:
// DEA 1's language written out, "the same" as the row above, or "another"
// with words in it and out of it.
std::vector<numbered_dfa> compared_automata() {
    const auto table = test_support::table_with_header(
        readme(), {"automaton", "highest state (trap)", "moves", "final states", "language"});
    const halvik_alphabet alphabet = halvik_characters();
    std::vector<numbered_dfa> automata;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const table_row& row = table.rows[i];
        const std::string place = readme().place(row.line);
        EXPECT_EQ(row.cells.at(0), "DEA " + std::to_string(i + 1)) << place;
        const auto a = row_dfa(row.cells.at(1), row.cells.at(2), row.cells.at(3), alphabet.first,
                               alphabet.last, place, nullptr);
        if (!a) {
            continue;
        }
        const std::string& language = row.cells.at(4);
        if (language == "the same") {
            EXPECT_TRUE(!automata.empty() && same_language(automata.back().automaton, *a)) << place;
        } else if (language.starts_with("another: ")) {
            EXPECT_TRUE(!automata.empty() && !same_language(automata.back().automaton, *a)) << place;
            const std::string_view claims = std::string_view(language).substr(9);
            for (std::size_t at = 0; at <= claims.size();) {
                const std::size_t end = std::min(claims.find(", ", at), claims.size());
                const std::string_view claim = claims.substr(at, end - at);
                const auto out = reads_as(claim, "`{}` is not in it");
                const auto in = reads_as(claim, "`{}` is");
                if (out) {
                    EXPECT_FALSE(a->accepts(out->at(0))) << place << ": " << out->at(0);
                } else if (in) {
                    EXPECT_TRUE(a->accepts(in->at(0))) << place << ": " << in->at(0);
                } else {
                    ADD_FAILURE() << place << ": a claim the test cannot read: " << claim;
                }
                at = end + 2;
            }
        } else if (const auto described = language_of(language)) {
            EXPECT_TRUE(describes(*described, *a)) << place << ": the language " << language;
        } else {
            ADD_FAILURE() << place << ": a language the test cannot read: " << language;
        }
        automata.push_back({*a, place});
    }
    const sentence compares =
        sentence_with(readme(), "`halvik` first compares {} deterministic automata pairwise");
    EXPECT_EQ(automata.size(), compares.number(0)) << compares.place;
    return automata;
}

// One comparison line: the equal form with i and j filled in, and for an
// unequal pair the same line with its end replaced, as "… sind nicht
// gleich" writes it.
std::string comparison_line(const std::string& equal_form, const std::string& unequal_end, std::size_t i,
                            std::size_t j, bool equal) {
    std::string line;
    for (std::size_t at = 0; at <= equal_form.size();) {
        const std::size_t end = std::min(equal_form.find(' ', at), equal_form.size());
        const std::string word = equal_form.substr(at, end - at);
        if (!line.empty()) {
            line += ' ';
        }
        line += word == "i" ? std::to_string(i) : word == "j" ? std::to_string(j) : word;
        at = end + 1;
    }
    if (!equal) {
        // The words after the mark take the place of the line's end from the
        // last word that they begin with.
        const std::string tail = unequal_end.substr(unequal_end.find(' ') + 1);
        std::string first_word = " ";
        first_word += tail.substr(0, tail.find(' '));
        first_word += ' ';
        line.resize(std::min(line.rfind(first_word) + 1, line.size()));
        line += tail;
    }
    return line;
}

verdict_form halvik_verdicts() {
    const sentence layout = sentence_with(
        readme(), "Each verdict line is `{}`, the word, `{}`, `{}` when the word is rejected, and `{}`;");
    const verdict_form form{layout.blanks.at(0), layout.blanks.at(1), layout.blanks.at(2),
                            layout.blanks.at(3)};
    const sentence each = sentence_with(
        readme(), "each verdict a line `{}` (the word belongs to the language) or `{}`, followed by");
    EXPECT_EQ(each.blanks.at(0), form.line("word", true)) << each.place;
    EXPECT_EQ(each.blanks.at(1), form.line("word", false)) << each.place;
    return form;
}

// halvik's comparisons are the pairs in the README's order, each judged as
// the README says and as the languages of the automata agree; its word tests
// are the README's words with their verdicts, which the automata give.
TEST(ReadmeAutomata, HalvikComparesAndTestsAsTheReadmeSays) {
    const std::vector<numbered_dfa> compared = compared_automata();
    const sentence order = sentence_with(
        readme(),
        "Each line `{}` or `{}` judges one pair, in the order {}-{}, {}-{}, {}-{}, {}-{}, {}-{}, {}-{}: "
        "{}, {} and {} are equal, {} differs from each.");
    const std::set<std::size_t> equal_ones = {order.number(14), order.number(15), order.number(16)};
    const std::size_t differing = order.number(17);
    const std::vector<std::string> report = report_lines("halvik");
    std::set<std::pair<std::size_t, std::size_t>> pairs;
    for (std::size_t k = 0; k < 6; ++k) {
        const std::size_t i = order.number(2 + 2 * k);
        const std::size_t j = order.number(3 + 2 * k);
        ASSERT_TRUE(i >= 1 && i < j && j <= compared.size()) << order.place << ": the pair " << i << "-" << j;
        pairs.insert({i, j});
        const dfa& a = compared[i - 1].automaton;
        const dfa& b = compared[j - 1].automaton;
        const bool equal = judged_equal(a, b, false);
        EXPECT_EQ(equal, same_language(a, b)) << order.place << ": " << i << " and " << j;
        EXPECT_EQ(equal, equal_ones.contains(i) && equal_ones.contains(j) && i != differing && j != differing)
            << order.place << ": " << i << " and " << j;
        ASSERT_LT(k, report.size());
        EXPECT_EQ(report[k], comparison_line(order.blanks.at(0), order.blanks.at(1), i, j, equal))
            << order.place << ": halvik's line " << k + 1;
    }
    EXPECT_EQ(pairs.size() * 2, compared.size() * (compared.size() - 1)) << order.place << ": not every pair";

    const sentence pair = sentence_with(readme(),
                                        "For DEA {} and {}, `{}` and then `{}` lead to the pair ({}, {}), "
                                        "final in DEA {} and not in DEA {}.");
    const std::size_t i = pair.number(0);
    const std::size_t j = pair.number(1);
    ASSERT_TRUE(i >= 1 && j >= 1 && i <= compared.size() && j <= compared.size()) << pair.place;
    const std::string word = pair.blanks.at(2) + pair.blanks.at(3);
    const dfa& a = compared[i - 1].automaton;
    const dfa& b = compared[j - 1].automaton;
    EXPECT_EQ(a.run(word), static_cast<int>(pair.number(4))) << pair.place;
    EXPECT_EQ(b.run(word), static_cast<int>(pair.number(5))) << pair.place;
    EXPECT_EQ(pair.number(6), i) << pair.place;
    EXPECT_EQ(pair.number(7), j) << pair.place;
    EXPECT_TRUE(a.accepts(word) && !b.accepts(word)) << pair.place;

    const auto table = test_support::table_with_header(
        readme(), {"automaton", "moves", "final states", "words tested, with the verdict"});
    const sentence tests = sentence_with(readme(), "Then it tests {} words on {} more automata");
    EXPECT_EQ(table.rows.size(), tests.number(1)) << tests.place;
    const halvik_alphabet alphabet = halvik_characters();
    std::vector<std::pair<tested_word, std::string>> words;
    for (std::size_t k = 0; k < table.rows.size(); ++k) {
        const table_row& row = table.rows[k];
        const std::string place = readme().place(row.line);
        const auto name = reads_as(row.cells.at(0), "{} (highest state {})");
        ASSERT_TRUE(name.has_value()) << place;
        EXPECT_EQ(name->at(0), std::to_string(k + 1)) << place;
        std::string remark;
        const auto automaton = row_dfa(name->at(1), row.cells.at(1), row.cells.at(2), alphabet.first,
                                       alphabet.last, place, &remark);
        const auto tested = tested_words(row.cells.at(3), place);
        ASSERT_TRUE(automaton && tested) << place << ": words the test cannot read";
        if (!remark.empty()) {
            const auto language = remarked_language(remark);
            EXPECT_TRUE(language.has_value()) << place << ": a remark the test cannot read: " << remark;
            EXPECT_TRUE(!language || finite_language(*automaton) == language) << place << ": " << remark;
        }
        for (const tested_word& t : *tested) {
            EXPECT_EQ(automaton->accepts(t.word), t.belongs) << place << ": " << t.word;
            words.emplace_back(t, place);
        }
    }
    EXPECT_EQ(words.size(), tests.number(0)) << tests.place;
    expect_verdicts(report, pairs.size(), halvik_verdicts(), words);
}

// ---- quenmar ----

// quenmar's automaton counts parities, as its section says: the state after
// any word of a and b is the one the section names for the parities read,
// and the final state is that of an odd number of each; its verdicts are
// the README's, in halvik's form.
TEST(ReadmeAutomata, QuenmarTestsTheWordsAsTheReadmeSays) {
    const sentence s = sentence_with(
        readme(),
        "`quenmar` tests {} words on {} deterministic automaton over the characters {} to `{}` whose "
        "states count the parities of the letters read: {} an even number of `{}` and of `{}`, {} odd "
        "`{}`, {} odd `{}`, {} both odd; state {} is the trap,");
    const auto table =
        test_support::table_with_header(readme(), {"moves", "final state", "words tested, with the verdict"});
    ASSERT_EQ(table.rows.size(), s.number(1)) << s.place;
    const table_row& row = table.rows.front();
    const std::string place = readme().place(row.line);
    const std::string& first = s.blanks.at(2);
    ASSERT_TRUE((first == "blank" || first.size() == 1) && s.blanks.at(3).size() == 1) << s.place;
    const std::string& final_cell = row.cells.at(1);
    const std::size_t colon = final_cell.find(": ");
    const auto automaton = row_dfa(s.blanks.at(12), row.cells.at(0), final_cell.substr(0, colon),
                                   first == "blank" ? ' ' : first[0], s.blanks.at(3)[0], place, nullptr);
    const auto tested = tested_words(row.cells.at(2), place);
    ASSERT_TRUE(automaton && tested) << place;

    // The state of each pair of parities (odd a, odd b), as the sentence
    // names them.
    const char a = s.blanks.at(5).at(0);
    const char b = s.blanks.at(6).at(0);
    EXPECT_EQ(s.blanks.at(8), s.blanks.at(5)) << s.place;
    EXPECT_EQ(s.blanks.at(10), s.blanks.at(6)) << s.place;
    const std::map<std::pair<bool, bool>, int> state_of = {
        {{false, false}, static_cast<int>(s.number(4))},
        {{true, false}, static_cast<int>(s.number(7))},
        {{false, true}, static_cast<int>(s.number(9))},
        {{true, true}, static_cast<int>(s.number(11))},
    };
    // Every state reached with every pair of parities, from the empty word on.
    std::set<std::tuple<int, bool, bool>> seen = {{0, false, false}};
    std::vector<std::tuple<int, bool, bool>> open(seen.begin(), seen.end());
    while (!open.empty()) {
        const auto [state, odd_a, odd_b] = open.back();
        open.pop_back();
        EXPECT_EQ(state, state_of.at({odd_a, odd_b}))
            << s.place << ": odd a " << odd_a << ", odd b " << odd_b;
        for (const auto& next : {std::tuple{automaton->step(state, a), !odd_a, odd_b},
                                 std::tuple{automaton->step(state, b), odd_a, !odd_b}}) {
            if (seen.insert(next).second) {
                open.push_back(next);
            }
        }
    }
    if (colon != std::string::npos) {
        EXPECT_EQ(final_cell.substr(colon + 2), "an odd number of each")
            << place << ": a remark the test cannot read";
        EXPECT_EQ(automaton->finals, std::set<int>{state_of.at({true, true})}) << place;
    }

    const sentence form_of = sentence_with(
        readme(),
        "each verdict is `{}`, the word as it is (`{}` keeps its blank inside the quotes), `{}`, `{}` "
        "when rejected, `{}`, and one empty line follows each");
    const verdict_form form{form_of.blanks.at(0), form_of.blanks.at(2), form_of.blanks.at(3),
                            form_of.blanks.at(4)};
    EXPECT_TRUE(form.line("ab ", true).starts_with(form_of.blanks.at(1))) << form_of.place;
    const verdict_form halviks = halvik_verdicts();
    EXPECT_EQ(form.line("word", false), halviks.line("word", false))
        << form_of.place << ": not halvik's form";
    EXPECT_EQ(form.line("word", true), halviks.line("word", true)) << form_of.place << ": not halvik's form";

    std::vector<std::pair<tested_word, std::string>> words;
    for (const tested_word& t : *tested) {
        EXPECT_EQ(automaton->accepts(t.word), t.belongs) << place << ": \"" << t.word << "\"";
        words.emplace_back(t, place);
    }
    EXPECT_EQ(words.size(), s.number(0)) << s.place;
    expect_verdicts(report_lines("quenmar"), 0, form, words);
}

}  // namespace
