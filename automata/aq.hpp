// Equivalence test of two deterministic automata: both run side by side from
// their start states, and every pair of states they reach together must agree
// on being the trap state and on being final. It belongs to the main
// procedure of halvik.
#pragma once

#include <string_view>

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "dea/dea.hpp"

namespace halvik {

using dea::int32;

// tupel is a node of a list of state pairs: q of the first automaton, p of
// the second. Nodes come from the arena, never released one by one; halvik
// opens no arena scope, so they stay to its end.
struct tupel {
    int32 q;
    int32 p;
    tupel* nexttupel;
};

using ztupel = tupel*;

namespace detail {

// The pairs found so far and the depth-first exploration that extends them.
template <char First, char Last>
struct pair_search {
    using Dea = dea::dea_type<First, Last>;
    using table = dea::det_ueber_type<First, Last>;

    const Dea& dea1;
    const Dea& dea2;
    ztupel l1 = nullptr;

    static ztupel newtupel(int32 q, int32 p, ztupel nexttupel) {
        return common::make<tupel>(q, p, nexttupel);
    }

    static int32 fangzustand(const Dea& automat) { return automat.n(); }

    // isin returns true when l1 holds the pair (q, p).
    [[nodiscard]] bool isin(int32 q, int32 p) const {
        for (ztupel akttupelx = l1; akttupelx != nullptr; akttupelx = akttupelx->nexttupel) {
            if (akttupelx->q == q && akttupelx->p == p) {
                return true;
            }
        }
        return false;
    }

    // listtupel puts in front of l1 every new pair reachable from
    // (zustand1, zustand2), exploring each one as soon as it is found. The
    // pair of the two trap states is neither listed nor explored.
    void listtupel(int32 zustand1, int32 zustand2) {
        for (int code = table::first_code; code <= table::last_code; ++code) {
            const char c = static_cast<char>(code);
            const int32 z1 = dea1.det.at(zustand1, c, common::here());
            const int32 z2 = dea2.det.at(zustand2, c, common::here());
            if ((z1 != fangzustand(dea1) || z2 != fangzustand(dea2)) && !isin(z1, z2)) {
                l1 = newtupel(z1, z2, l1);
                listtupel(z1, z2);
            }
        }
    }
};

}  // namespace detail

// aq returns true when the two automata are judged to accept the same
// language: no pair of states reached together on some word, the empty word
// included, has exactly one trap state or exactly one final state. The trap
// state of an automaton is its highest state. The input characters followed
// are the table's columns in ascending order. A successor outside its
// automaton's states raises the check error.
template <char First, char Last>
bool aq(const dea::dea_type<First, Last>& dea1, const dea::dea_type<First, Last>& dea2) {
    detail::pair_search<First, Last> search{dea1, dea2};
    // The start pair is listed first, so that it takes part in the check:
    // without it two automata that differ only in accepting the empty word
    // would be judged equal.
    search.l1 = search.newtupel(0, 0, nullptr);
    search.listtupel(0, 0);
    for (ztupel akttupel = search.l1; akttupel != nullptr; akttupel = akttupel->nexttupel) {
        const bool trap1 = akttupel->q == search.fangzustand(dea1);
        const bool trap2 = akttupel->p == search.fangzustand(dea2);
        if (trap1 != trap2 ||
            dea1.f.contains(akttupel->q, common::here()) != dea2.f.contains(akttupel->p, common::here())) {
            return false;
        }
    }
    return true;
}

}  // namespace halvik
