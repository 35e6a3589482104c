// Deterministic finite automata: a complete table of successor states over a
// fixed range of characters and a set of final states. State 0 is the start;
// by the convention of every automaton in the system the highest state n is
// the trap. The scanner cuts tokens by the longest prefix with one automaton
// derived from its sixteen token automata; the automata programs test whole
// words (automata/pruefe.hpp). Both build theirs from listed moves
// (dea/build_dea.hpp).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "common/errors.hpp"

namespace dea {

using int32 = std::int32_t;

// charfktn_type is a set of states 0 .. n (a characteristic function):
// inh[s] is true when state s is a member. The record does not own its
// n + 1 cells: whoever makes one gives it cells that outlive it, all false
// for a new set. An automaton owns the cells of its final states; the state
// sets of zorbel take theirs from the arena. Copies share the cells.
struct charfktn_type {
    int32 n;
    bool* inh;

    // contains returns the entry of state s; a state outside 0 .. n raises
    // the check error at `where`.
    [[nodiscard]] bool contains(int32 s, common::place where) const {
        common::check(s >= 0 && s <= n, where);
        return inh[static_cast<std::size_t>(s)];
    }

    // set puts state s into the set or takes it out; guarded like contains.
    void set(int32 s, bool member, common::place where) {
        common::check(s >= 0 && s <= n, where);
        inh[static_cast<std::size_t>(s)] = member;
    }
};

// det_ueber_type is the transition table over states 0 .. n and the
// characters First .. Last, a row of cells per state; its rows are its size,
// n is read from them. A new table leads every cell to the trap state n.
template <char First, char Last>
struct det_ueber_type {
    static_assert(static_cast<unsigned char>(First) <= static_cast<unsigned char>(Last));

    static constexpr int first_code = static_cast<unsigned char>(First);
    static constexpr int last_code = static_cast<unsigned char>(Last);
    static constexpr int columns = last_code - first_code + 1;

    std::vector<int32> ueber;  // row by row, `columns` cells per state

    explicit det_ueber_type(int32 highest)
        : ueber((static_cast<std::size_t>(highest) + 1) * columns, highest) {}

    // n returns the highest state: the table has a row for each of 0 .. n.
    [[nodiscard]] int32 n() const { return static_cast<int32>(ueber.size() / columns) - 1; }

    // in_range returns true when c is one of the table's column characters.
    static constexpr bool in_range(char c) {
        const int code = static_cast<unsigned char>(c);
        return code >= first_code && code <= last_code;
    }

    // cell returns the successor of state s on c, without a guard: the caller
    // has checked that s lies in 0 .. n and c in First .. Last.
    [[nodiscard]] int32 cell(int32 s, char c) const { return ueber[index(s, c)]; }
    int32& cell(int32 s, char c) { return ueber[index(s, c)]; }

    // at returns the successor of state s on c; a state outside 0 .. n or a
    // character outside the columns raises the check error at `where`.
    [[nodiscard]] int32 at(int32 s, char c, common::place where) const {
        common::check(s >= 0 && s <= n() && in_range(c), where);
        return cell(s, c);
    }
    int32& at(int32 s, char c, common::place where) {
        common::check(s >= 0 && s <= n() && in_range(c), where);
        return cell(s, c);
    }

private:
    [[nodiscard]] static std::size_t index(int32 s, char c) {
        return static_cast<std::size_t>(s) * columns +
               static_cast<std::size_t>(static_cast<unsigned char>(c) - first_code);
    }
};

// dea_type is one deterministic automaton with the highest state n, fixed
// when it is made: its table's rows hold n, and the set of its final states
// is made over 0 .. n beside them. A new automaton has no final state. It
// owns its storage and never takes it from the arena: velkor's token
// automata live to the end of the process, beyond any arena scope. A move
// keeps the cells of f where they are; a copy has cells of its own.
template <char First, char Last>
struct dea_type {
    det_ueber_type<First, Last> det;
    charfktn_type f;

    explicit dea_type(int32 highest)
        : det(highest),
          f{highest, nullptr},
          final_cells_(std::make_unique<bool[]>(static_cast<std::size_t>(highest) + 1)) {
        f.inh = final_cells_.get();
    }

    // n returns the highest state, the trap.
    [[nodiscard]] int32 n() const { return det.n(); }

    dea_type(const dea_type& other) : dea_type(other.n()) {
        det = other.det;
        std::copy_n(other.f.inh, static_cast<std::size_t>(n()) + 1, f.inh);
    }
    dea_type& operator=(const dea_type& other) {
        dea_type copy(other);
        return *this = std::move(copy);
    }
    dea_type(dea_type&&) noexcept = default;
    dea_type& operator=(dea_type&&) noexcept = default;
    ~dea_type() = default;

private:
    std::unique_ptr<bool[]> final_cells_;  // the cells of f, all false to begin with
};

}  // namespace dea
