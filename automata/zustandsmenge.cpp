#include "automata/zustandsmenge.hpp"

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "common/image.hpp"

namespace zorbel {
namespace {

constexpr std::string_view module_name = "zustandsmenge";

// The guards name this module. The two named errors are zorbel's: they carry
// the places of its main procedure, which declares them, whatever the layout
// of this file.
namespace places {
constexpr std::string_view zorbel = "zorbel";
constexpr common::place index_zu_gross{zorbel, 154};
constexpr common::place union_of_different_grounds{zorbel, 173};
constexpr common::place equality_of_different_grounds{zorbel, 197};
}  // namespace places

// Member test of a set that must exist.
bool contains(zustandsmenge z, int32 s, int line) {
    return common::not_null(z.ref, common::place{module_name, line})
        ->contains(s, common::place{module_name, line});
}

// Ground set of a set that must exist.
int32 ground_of(zustandsmenge z, int line) {
    return common::not_null(z.ref, common::place{module_name, line})->n;
}

// A new set with the same ground set and members as z.
zustandsmenge copy_of(zustandsmenge z, int line) {
    return zustandsmenge{
        common::make<charfktn_type>(*common::not_null(z.ref, common::place{module_name, line}))};
}

}  // namespace

zustandsmenge leeremenge(int32 n) {
    common::check(n >= 1, common::place{module_name, __LINE__});
    return zustandsmenge{common::make<charfktn_type>(n)};
}

bool istleer(zustandsmenge z) {
    const int32 n = ground_of(z, __LINE__);
    for (int32 s = 0; s <= n; ++s) {
        if (contains(z, s, __LINE__)) {
            return false;
        }
    }
    return true;
}

zustandsmenge hinzu(int32 i, zustandsmenge z) {
    if (i < 0 || i > ground_of(z, __LINE__)) {  // a negative i is refused before z is looked at
        common::raise(index_zu_gross, places::index_zu_gross);
    }
    z.ref->set(i, true, common::place{module_name, __LINE__});
    return z;
}

zustandsmenge operator+(zustandsmenge z1, zustandsmenge z2) {
    const zustandsmenge z3 = leeremenge(ground_of(z1, __LINE__));
    if (z1.ref->n != ground_of(z2, __LINE__)) {
        common::raise(grundmengen_verschieden, places::union_of_different_grounds);
    }
    for (int32 i = 0; i <= z3.ref->n; ++i) {
        z3.ref->set(i, contains(z1, i, __LINE__) || contains(z2, i, __LINE__),
                    common::place{module_name, __LINE__});
    }
    return z3;
}

bool operator==(zustandsmenge z1, zustandsmenge z2) {
    if (ground_of(z1, __LINE__) != ground_of(z2, __LINE__)) {
        common::raise(grundmengen_verschieden, places::equality_of_different_grounds);
    }
    for (int32 i = 0; i <= z1.ref->n; ++i) {
        if (contains(z1, i, __LINE__) != contains(z2, i, __LINE__)) {
            return false;
        }
    }
    return true;
}

void drucke(zustandsmenge z, common::text_writer& out) {
    out.put('{');
    const int32 n = ground_of(z, __LINE__);
    bool mengegroessereins = false;  // a member has been written already
    for (int32 i = 0; i <= n; ++i) {
        if (contains(z, i, __LINE__)) {
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

ndet_ueber_type::ndet_ueber_type(int32 highest) : n(highest) {
    common::check(highest >= 1, common::place{module_name, __LINE__});
    const std::size_t entries = (static_cast<std::size_t>(highest) + 1) * columns;
    ueber.reserve(entries);
    for (std::size_t entry = 0; entry < entries; ++entry) {
        ueber.push_back(leeremenge(highest));
    }
}

std::size_t ndet_ueber_type::index(int32 s, char c) const {
    const int code = static_cast<unsigned char>(c);
    common::check(s >= 0 && s <= n && code >= first_code && code <= last_code,
                  common::place{module_name, __LINE__});
    return static_cast<std::size_t>(s) * columns + static_cast<std::size_t>(code - first_code);
}

zustandsmenge ndet_ueber_type::at(int32 s, char c) const {
    return ueber[index(s, c)];
}

zustandsmenge& ndet_ueber_type::at(int32 s, char c) {
    return ueber[index(s, c)];
}

zustandsmenge ehuellevon(int32 q, const ndea_type* automat) {
    const ndet_ueber_type& table = common::not_null(automat, common::place{module_name, __LINE__})->ndet;
    const zustandsmenge ehuelle = copy_of(table.at(q, ndet_ueber_type::epsilon), __LINE__);
    hinzu(q, ehuelle);
    // Membership is read afresh at every step: a state added during a pass is
    // looked at in the same pass when it lies above the current p.
    bool geaendert = true;
    while (geaendert) {
        geaendert = false;
        for (int32 p = 0; p <= ehuelle.ref->n; ++p) {
            if (!contains(ehuelle, p, __LINE__)) {
                continue;
            }
            const zustandsmenge aktneu = table.at(p, ndet_ueber_type::epsilon);
            const int32 bis = ground_of(aktneu, __LINE__);
            for (int32 z = 0; z <= bis; ++z) {
                if (contains(aktneu, z, __LINE__) && !contains(ehuelle, z, __LINE__)) {
                    hinzu(z, ehuelle);
                    geaendert = true;
                }
            }
        }
    }
    return ehuelle;
}

}  // namespace zorbel
