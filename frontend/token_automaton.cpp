// The derivation of the token automaton and its one-pass match: each
// state is the tuple of the runs of the sixteen token automata, so that one
// table lookup per character moves all of them.
#include "frontend/token_automaton.hpp"

#include <algorithm>
#include <map>

#include "common/errors.hpp"

namespace scannerpak {

namespace {

// The transition table of a token automaton, whose columns are the printable characters.
using transitions = decltype(dea_type::det);

// The columns of the derivation: column 0 stands for every character outside
// the token automata's columns, for each ends every run alike; column j for
// their j-th character.
constexpr int outside_column = 0;
constexpr int column_count = 1 + transitions::last_code - transitions::first_code + 1;

constexpr int column_of(char c) {
    return transitions::in_range(c) ? static_cast<unsigned char>(c) - transitions::first_code + 1
                                    : outside_column;
}

constexpr char character_of(int column) {
    return static_cast<char>(transitions::first_code + column - 1);
}

}  // namespace

// The runs that one token automaton's part of the derived automaton can be
// in, numbered from its start, and the number each moves to on each column.
struct token_automaton::part_table {
    // A run as the look-back of one step sees it. It goes until it enters the
    // trap state (or reads a character outside the columns, which counts as
    // that step); then it has stopped on that step, and from the next step
    // on it has stopped earlier. `before_final` says whether the state before
    // the last step was final; it is kept only where the result depends on
    // it, so that equal futures make equal runs.
    struct run {
        enum class phase : std::uint8_t { running, stopping, stopped };
        phase ph = phase::running;
        std::int32_t akt = 0;  // while running: the automaton's state, never the trap
        bool before_final = false;

        bool operator==(const run&) const = default;
    };

    const dea_type* automaton;
    std::vector<run> runs;
    std::vector<std::uint8_t> next;  // column_count cells per run

    // Numbers every run that the automaton `d` can reach; a successor outside
    // its states raises the check error.
    explicit part_table(const dea_type& d) : automaton(&d) {
        runs.push_back(running(0, false));               // before the first step only the empty word ends
        for (std::size_t i = 0; i < runs.size(); ++i) {  // runs grows while it is walked
            for (int column = 0; column < column_count; ++column) {
                const run moved = step(runs[i], column);
                auto found = std::find(runs.begin(), runs.end(), moved);
                if (found == runs.end()) {
                    common::check(runs.size() <= std::numeric_limits<std::uint8_t>::max(), common::here());
                    found = runs.insert(runs.end(), moved);
                }
                next.push_back(static_cast<std::uint8_t>(found - runs.begin()));
            }
        }
    }

    // after returns the number of the run that run `number` moves to on `column`.
    [[nodiscard]] std::uint8_t after(std::uint8_t number, int column) const {
        return next[static_cast<std::size_t>(number) * column_count + static_cast<std::size_t>(column)];
    }

    // contribution_of returns what run `number` of part `kind` yields when
    // it is in the phase `when`: on the step on which it stops, the length
    // read (its trap is final) or one less (the state before was final); at
    // the end of the text while it runs, the length read (its state is final)
    // or one less (the state before was).
    [[nodiscard]] contribution contribution_of(std::size_t kind, std::uint8_t number, run::phase when) const {
        const run& r = runs[number];
        if (r.ph != when) {
            return {};
        }
        const std::int32_t last = when == run::phase::stopping ? automaton->n() : r.akt;
        if (is_final(last)) {
            return {static_cast<std::int8_t>(kind), 0};
        }
        if (r.before_final) {
            return {static_cast<std::int8_t>(kind), 1};
        }
        return {};
    }

    // is_running returns true when run `number` has not stopped.
    [[nodiscard]] bool is_running(std::uint8_t number) const {
        return runs[number].ph == run::phase::running;
    }

private:
    [[nodiscard]] bool is_final(std::int32_t s) const {
        return automaton->f.inh[static_cast<std::size_t>(s)];
    }

    // running returns the run in state `akt`; a final state gives the length
    // read, whatever came before it.
    [[nodiscard]] run running(std::int32_t akt, bool before_final) const {
        return {run::phase::running, akt, before_final && !is_final(akt)};
    }

    // step moves the run `r` on one character of `column`.
    [[nodiscard]] run step(const run& r, int column) const {
        if (r.ph != run::phase::running) {
            return {run::phase::stopped, 0, false};
        }
        const dea_type& d = *automaton;
        std::int32_t next_state = d.n();
        if (column != outside_column) {
            next_state = d.det.at(r.akt, character_of(column), common::here());
            common::check(next_state >= 0 && next_state <= d.n(), common::here());
        }
        const bool before_final = is_final(r.akt);
        if (next_state == d.n()) {
            if (is_final(d.n())) {
                return {run::phase::stopping, 0, false};  // the length read, whatever came before it
            }
            if (before_final) {
                return {run::phase::stopping, 0, true};  // one less
            }
            return {run::phase::stopped, 0, false};  // nothing: as if it had stopped earlier
        }
        return running(next_state, before_final);
    }
};

namespace {

// state_numbering numbers states in the order they are first met.
template <class State>
class state_numbering {
public:
    // number_of returns the number of `s`, numbering it when it is new; more
    // states than `limit` raise the check error.
    std::uint16_t number_of(const State& s, std::size_t limit) {
        const auto [where, fresh] = number_.try_emplace(s, static_cast<std::uint16_t>(states_.size()));
        if (fresh) {
            common::check(states_.size() <= limit, common::here());
            states_.push_back(s);
        }
        return where->second;
    }

    // states returns the states numbered so far; it grows while new ones are met.
    [[nodiscard]] const std::vector<State>& states() const { return states_; }

private:
    std::map<State, std::uint16_t> number_;
    std::vector<State> states_;
};

}  // namespace

token_automaton::token_automaton(const std::array<dea_ref, tokenart_count>& automata) {
    const std::vector<part_table> tables = part_tables(automata);
    const std::vector<product> states = derive_states(tables);
    describe_states(tables, states);
    mark_cells();
}

std::vector<token_automaton::part_table> token_automaton::part_tables(
    const std::array<dea_ref, tokenart_count>& automata) {
    std::vector<part_table> tables;
    tables.reserve(automata.size());
    for (dea_ref d : automata) {
        const dea_type& automaton = *common::not_null(d, common::here());
        // A start that is the trap already is a case the derivation does not
        // cover; no token automaton is one.
        common::check(automaton.n() >= 1, common::here());
        tables.emplace_back(automaton);
    }
    return tables;
}

std::vector<token_automaton::product> token_automaton::derive_states(const std::vector<part_table>& tables) {
    state_numbering<product> numbering;
    numbering.number_of(product{}, state_bits);  // every part at its start, numbered 0
    std::array<std::uint16_t, column_count> targets{};
    for (std::size_t s = 0; s < numbering.states().size(); ++s) {  // the states grow while they are walked
        for (int column = 0; column < column_count; ++column) {
            product moved;
            for (std::size_t k = 0; k < moved.size(); ++k) {
                moved[k] = tables[k].after(numbering.states()[s][k], column);
            }
            targets[static_cast<std::size_t>(column)] = numbering.number_of(moved, state_bits);
        }
        for (std::size_t c = 0; c < characters; ++c) {
            next_.push_back(targets[static_cast<std::size_t>(column_of(static_cast<char>(c)))]);
        }
    }
    return numbering.states();
}

void token_automaton::describe_states(const std::vector<part_table>& tables,
                                      const std::vector<product>& states) {
    info_.reserve(states.size());
    for (const product& p : states) {
        state_info info{{}, {}, true};
        for (std::size_t k = 0; k < p.size(); ++k) {
            const part_table& part = tables[k];
            info.at_step =
                better(info.at_step, part.contribution_of(k, p[k], part_table::run::phase::stopping));
            info.at_end = better(info.at_end, part.contribution_of(k, p[k], part_table::run::phase::running));
            info.stopped = info.stopped && !part.is_running(p[k]);
        }
        info_.push_back(info);
    }
}

void token_automaton::mark_cells() {
    // Most steps lead to a state where nothing happens; the others are
    // marked in the table, so that a step reads one cell.
    for (std::uint16_t& cell : next_) {
        const state_info& info = info_[cell];
        if (info.at_step.kind >= 0 || info.stopped) {
            cell |= marked;
        }
    }
}

token_automaton::contribution token_automaton::better(contribution a, contribution b) {
    if (b.kind < 0) {
        return a;
    }
    if (a.kind < 0 || b.back < a.back || (b.back == a.back && b.kind > a.kind)) {
        return b;
    }
    return a;
}

}  // namespace scannerpak
