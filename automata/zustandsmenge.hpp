// Sets of automaton states and the nondeterministic automaton whose table
// entries are such sets, with the epsilon hull of a state. They belong to the
// main procedure of zorbel, whose name the two named errors carry; the check
// errors name this module.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/errors.hpp"
#include "common/textio.hpp"
#include "dea/dea.hpp"

namespace zorbel {

using dea::charfktn_type;
using dea::int32;

// A union or equality of two sets over different ground sets.
inline constexpr std::string_view grundmengen_verschieden = "ZORBEL.GRUNDMENGEN_VERSCHIEDEN";
// A state outside the ground set added to a set.
inline constexpr std::string_view index_zu_gross = "ZORBEL.INDEX_ZU_GROSS";

// The places that the two named errors carry: those of zorbel's main
// procedure, which declares them, whatever the layout of this module.
namespace places {
inline constexpr std::string_view zorbel = "zorbel";
inline constexpr common::place index_zu_gross{zorbel, 154};
inline constexpr common::place union_of_different_grounds{zorbel, 173};
inline constexpr common::place equality_of_different_grounds{zorbel, 197};
}  // namespace places

// zustandsmenge is a set of the states 0 .. n, a charfktn_type in the arena
// reached through `ref`, its cells beside it; a null `ref` is no set, and
// every operation below raises the check error when it meets one. Copies
// share the set: a set is changed only by hinzu, and that change shows to
// every holder.
struct zustandsmenge {
    charfktn_type* ref = nullptr;
};

// leeremenge returns a new set over 0 .. n with no member; an n below 1 raises
// the check error.
zustandsmenge leeremenge(int32 n);

// istleer returns true when z has no member.
bool istleer(zustandsmenge z);

// hinzu makes i a member of z and returns z itself. A state below 0 (even with
// a null set) or above the n of z raises index_zu_gross at
// places::index_zu_gross and leaves z as it was.
zustandsmenge hinzu(int32 i, zustandsmenge z);

// operator+ returns the union of the two sets as a new set; ground sets that
// differ raise grundmengen_verschieden at places::union_of_different_grounds.
zustandsmenge operator+(zustandsmenge z1, zustandsmenge z2);

// operator== returns true when the two sets have the same members (not the
// same address); ground sets that differ raise grundmengen_verschieden at
// places::equality_of_different_grounds.
bool operator==(zustandsmenge z1, zustandsmenge z2);

// drucke writes z as one line, "{", the members' images separated by ",", and
// "}". The "{" is written before the set is looked at.
void drucke(zustandsmenge z, common::text_writer& out = common::standard_output());

// ndet_ueber_type is the table of a nondeterministic automaton over the states
// 0 .. n and the characters '!' to code 127; the last column is the epsilon
// column. A new table holds a new empty set in every entry, none shared. Its
// entries lie in the arena; copies of the record share them.
struct ndet_ueber_type {
    static constexpr int first_code = '!';
    static constexpr int last_code = 127;
    static constexpr int columns = last_code - first_code + 1;
    static constexpr char epsilon = static_cast<char>(last_code);

    int32 n;
    zustandsmenge* ueber;  // row by row, `columns` entries per state

    // A table over 0 .. highest of new empty sets; a highest below 1 raises
    // the check error.
    explicit ndet_ueber_type(int32 highest);

    // copy returns a new table whose entries are the same sets as these.
    [[nodiscard]] ndet_ueber_type copy() const;

    // at returns the entry of state s and character c; a state outside 0 .. n
    // or a character outside the columns raises the check error.
    [[nodiscard]] zustandsmenge at(int32 s, char c) const;
    zustandsmenge& at(int32 s, char c);

private:
    ndet_ueber_type(int32 highest, zustandsmenge* entries) : n(highest), ueber(entries) {}
    // The number of entries: `columns` for each of the states 0 .. n.
    [[nodiscard]] std::size_t entry_count() const { return (static_cast<std::size_t>(n) + 1) * columns; }
    [[nodiscard]] std::size_t index(int32 s, char c) const;
};

// ndea_type is a nondeterministic automaton: its table and its final states,
// both with the automaton's n. Like its table, it keeps its cells in the
// arena, so the record itself may be a cell there (an ndea_ref).
struct ndea_type {
    int32 n;
    ndet_ueber_type ndet;
    charfktn_type f;

    // An automaton over 0 .. highest with empty table entries and no final
    // state; a highest below 1 raises the check error.
    explicit ndea_type(int32 highest);
    // An automaton with a copy of `table` (its entries are the same sets) and
    // no final state.
    explicit ndea_type(const ndet_ueber_type& table);
};

using ndea_ref = ndea_type*;

// ehuellevon returns a new set: q and every state that q reaches by epsilon
// moves of `automat` alone. The table stays unchanged. A null automaton, a q
// outside its states or a null epsilon entry raises the check error.
zustandsmenge ehuellevon(int32 q, const ndea_type* automat);

}  // namespace zorbel
