#include "automata/zustandsmenge.hpp"

#include <algorithm>
#include <memory>

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "common/image.hpp"

namespace zorbel {
namespace {

// `count` new cells in the arena, each holding `value`.
template <class T>
T* arena_cells(std::size_t count, const T& value) {
    auto* cells = static_cast<T*>(common::arena_allocate(count * sizeof(T), alignof(T)));
    std::uninitialized_fill_n(cells, count, value);
    return cells;
}

// The number of cells of a set over 0 .. n.
std::size_t cell_count(int32 n) {
    return static_cast<std::size_t>(n) + 1;
}

// The set of no state over 0 .. n, its cells new in the arena.
charfktn_type no_states(int32 n) {
    return charfktn_type{n, arena_cells(cell_count(n), false)};
}

// Member test of a set that must exist.
bool contains(zustandsmenge z, int32 s, common::place where) {
    return common::not_null(z.ref, where)->contains(s, where);
}

// Ground set of a set that must exist.
int32 ground_of(zustandsmenge z, common::place where) {
    return common::not_null(z.ref, where)->n;
}

// A new set with the same ground set and members as z.
zustandsmenge copy_of(zustandsmenge z, common::place where) {
    const charfktn_type& original = *common::not_null(z.ref, where);
    const charfktn_type copy = no_states(original.n);
    std::copy_n(original.inh, cell_count(original.n), copy.inh);
    return zustandsmenge{common::make<charfktn_type>(copy)};
}

}  // namespace

zustandsmenge leeremenge(int32 n) {
    common::check(n >= 1, common::here());
    return zustandsmenge{common::make<charfktn_type>(no_states(n))};
}

bool istleer(zustandsmenge z) {
    const int32 n = ground_of(z, common::here());
    for (int32 s = 0; s <= n; ++s) {
        if (contains(z, s, common::here())) {
            return false;
        }
    }
    return true;
}

zustandsmenge hinzu(int32 i, zustandsmenge z) {
    if (i < 0 || i > ground_of(z, common::here())) {  // a negative i is refused before z is looked at
        common::raise(index_zu_gross, places::index_zu_gross);
    }
    z.ref->set(i, true, common::here());
    return z;
}

zustandsmenge operator+(zustandsmenge z1, zustandsmenge z2) {
    const zustandsmenge z3 = leeremenge(ground_of(z1, common::here()));
    if (z1.ref->n != ground_of(z2, common::here())) {
        common::raise(grundmengen_verschieden, places::union_of_different_grounds);
    }
    for (int32 i = 0; i <= z3.ref->n; ++i) {
        z3.ref->set(i, contains(z1, i, common::here()) || contains(z2, i, common::here()), common::here());
    }
    return z3;
}

bool operator==(zustandsmenge z1, zustandsmenge z2) {
    if (ground_of(z1, common::here()) != ground_of(z2, common::here())) {
        common::raise(grundmengen_verschieden, places::equality_of_different_grounds);
    }
    for (int32 i = 0; i <= z1.ref->n; ++i) {
        if (contains(z1, i, common::here()) != contains(z2, i, common::here())) {
            return false;
        }
    }
    return true;
}

void drucke(zustandsmenge z, common::text_writer& out) {
    out.put('{');
    const int32 n = ground_of(z, common::here());
    bool mengegroessereins = false;  // a member has been written already
    for (int32 i = 0; i <= n; ++i) {
        if (contains(z, i, common::here())) {
            if (mengegroessereins) {
                out.put(',');
            }
            out.put(common::image(i));
            mengegroessereins = true;
        }
    }
    out.put('}');
    out.new_line();
}

ndet_ueber_type::ndet_ueber_type(int32 highest) : n(highest), ueber(nullptr) {
    common::check(highest >= 1, common::here());
    const std::size_t entries = entry_count();
    ueber = arena_cells(entries, zustandsmenge{});
    for (std::size_t entry = 0; entry < entries; ++entry) {
        ueber[entry] = leeremenge(highest);
    }
}

ndet_ueber_type ndet_ueber_type::copy() const {
    zustandsmenge* const cells = arena_cells(entry_count(), zustandsmenge{});
    std::copy_n(ueber, entry_count(), cells);
    return ndet_ueber_type(n, cells);
}

std::size_t ndet_ueber_type::index(int32 s, char c) const {
    const int code = static_cast<unsigned char>(c);
    common::check(s >= 0 && s <= n && code >= first_code && code <= last_code, common::here());
    return static_cast<std::size_t>(s) * columns + static_cast<std::size_t>(code - first_code);
}

zustandsmenge ndet_ueber_type::at(int32 s, char c) const {
    return ueber[index(s, c)];
}

zustandsmenge& ndet_ueber_type::at(int32 s, char c) {
    return ueber[index(s, c)];
}

ndea_type::ndea_type(int32 highest) : n(highest), ndet(highest), f(no_states(highest)) {}

ndea_type::ndea_type(const ndet_ueber_type& table) : n(table.n), ndet(table.copy()), f(no_states(table.n)) {}

zustandsmenge ehuellevon(int32 q, const ndea_type* automat) {
    const ndet_ueber_type& table = common::not_null(automat, common::here())->ndet;
    const zustandsmenge ehuelle = copy_of(table.at(q, ndet_ueber_type::epsilon), common::here());
    hinzu(q, ehuelle);
    // Membership is read afresh at every step: a state added during a pass is
    // looked at in the same pass when it lies above the current p.
    bool geaendert = true;
    while (geaendert) {
        geaendert = false;
        for (int32 p = 0; p <= ehuelle.ref->n; ++p) {
            if (!contains(ehuelle, p, common::here())) {
                continue;
            }
            const zustandsmenge aktneu = table.at(p, ndet_ueber_type::epsilon);
            const int32 highest = ground_of(aktneu, common::here());
            for (int32 z = 0; z <= highest; ++z) {
                if (contains(aktneu, z, common::here()) && !contains(ehuelle, z, common::here())) {
                    hinzu(z, ehuelle);
                    geaendert = true;
                }
            }
        }
    }
    return ehuelle;
}

}  // namespace zorbel
