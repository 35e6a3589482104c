// Sets of symbols, held as Boolean arrays over every value of the symbol type.
// A set is a plain value: copied on assignment, passed and returned by value.
#pragma once

#include "grammar/symbols.hpp"

namespace grammar::mengen {

// A set over Z: element z is a member when its cell is True.
template <symbol_type Z>
using listz = symbol_array<Z, bool>;

// The empty set of the instance; nothing changes it.
template <symbol_type Z>
inline const listz<Z> leeremenge{};

// neueleermenge returns a copy of the empty set.
template <symbol_type Z>
listz<Z> neueleermenge() {
    return leeremenge<Z>;
}

// einfuegen makes e a member of ch.
template <symbol_type Z>
void einfuegen(Z e, listz<Z>& ch) {
    ch[e] = true;
}

// loesche takes e out of ch; a non-member leaves ch unchanged.
template <symbol_type Z>
void loesche(Z e, listz<Z>& ch) {
    ch[e] = false;
}

// vorhanden returns true when e is a member of ch.
template <symbol_type Z>
bool vorhanden(Z e, const listz<Z>& ch) {
    return ch[e];
}

// vereinigung returns the union of ch1 and ch2.
template <symbol_type Z>
listz<Z> vereinigung(const listz<Z>& ch1, const listz<Z>& ch2) {
    listz<Z> result;
    for (Z z : all_symbols<Z>()) {
        result[z] = ch1[z] || ch2[z];
    }
    return result;
}

// schnitt returns the intersection of ch1 and ch2.
template <symbol_type Z>
listz<Z> schnitt(const listz<Z>& ch1, const listz<Z>& ch2) {
    listz<Z> result;
    for (Z z : all_symbols<Z>()) {
        result[z] = ch1[z] && ch2[z];
    }
    return result;
}

}  // namespace grammar::mengen
