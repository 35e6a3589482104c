// zorbel: nondeterministic six-state automata, state sets and epsilon hulls.
#include <span>
#include <string_view>

#include "automata/zustandsmenge.hpp"
#include "common/arena.hpp"
#include "common/errors.hpp"
#include "common/program.hpp"
#include "common/textio.hpp"

namespace {

constexpr std::string_view module_name = "zorbel";

void hauptprogramm() {
    using namespace zorbel;
    constexpr char epsilon = ndet_ueber_type::epsilon;

    // One named table entry: the set `nach` for state `von` and `zeichen`.
    struct eintrag {
        int32 von;
        char zeichen;
        std::span<const int32> nach;
    };

    // Builds an automaton over 0 .. 5 whose named entries hold their members;
    // every other entry stays a new empty set of its own.
    const auto erzeuge = [](std::span<const eintrag> eintraege, std::span<const int32> endzustaende) {
        ndea_type automat(5);
        for (const eintrag& e : eintraege) {
            for (const int32 s : e.nach) {
                hinzu(s, automat.ndet.at(e.von, e.zeichen));
            }
        }
        for (const int32 s : endzustaende) {
            automat.f.set(s, true, common::place{module_name, __LINE__});
        }
        return automat;
    };

    const auto drucke_wahrheitswert = [](bool b) {
        common::standard_output().put_line(b ? "TRUE" : "FALSE");
    };

    constexpr int32 eins_drei[]{1, 3};
    constexpr int32 eins[]{1};
    constexpr int32 zwei[]{2};
    constexpr int32 drei[]{3};
    constexpr int32 vier[]{4};
    constexpr int32 fuenf[]{5};
    // The cycle 1-2 and the cycle 3-4-5, entered from 0 on 'a' or by epsilon.
    const eintrag kreise_2oder3[]{{0, 'a', eins_drei}, {1, 'a', zwei},  {2, 'a', eins},
                                  {3, 'a', vier},      {4, 'a', fuenf}, {5, 'a', drei}};
    const eintrag kreise_2o3[]{{0, epsilon, eins_drei}, {1, 'a', zwei},  {2, 'a', eins},
                               {3, 'a', vier},          {4, 'a', fuenf}, {5, 'a', drei}};
    const eintrag kreise_eps[]{{0, epsilon, eins_drei}, {1, epsilon, zwei},  {2, epsilon, eins},
                               {3, epsilon, vier},      {4, epsilon, fuenf}, {5, epsilon, drei}};
    constexpr int32 ende_2oder3[]{0, 2, 5};
    constexpr int32 ende_2o3[]{0, 1, 3};

    const ndea_type ndea_2oder3 = erzeuge(kreise_2oder3, ende_2oder3);
    drucke(ndea_2oder3.ndet.at(0, 'a'));
    // The heap copies share the local tables' sets and have no final state.
    const ndea_ref ref2oder3 = common::make<ndea_type>(ndea_2oder3.ndet);
    const ndea_type ndea_2o3 = erzeuge(kreise_2o3, ende_2o3);
    drucke(ndea_2o3.ndet.at(0, epsilon));
    const ndea_ref ref2o3 = common::make<ndea_type>(ndea_2o3.ndet);
    const ndea_type ndea_eps = erzeuge(kreise_eps, ende_2o3);
    const ndea_ref refeps = common::make<ndea_type>(ndea_eps.ndet);

    zustandsmenge z1 = leeremenge(3);
    drucke(z1);
    drucke_wahrheitswert(istleer(z1));
    z1 = hinzu(3, z1);
    drucke(z1);
    zustandsmenge z2 = hinzu(3, leeremenge(3));
    drucke_wahrheitswert(z1 == z2);
    z2 = hinzu(1, z2);
    drucke_wahrheitswert(z1 == z2);
    drucke(z1 + z2);

    drucke(ehuellevon(0, ref2oder3));
    drucke(ehuellevon(0, ref2o3));
    drucke(ehuellevon(3, refeps));
}

}  // namespace

int main() {
    return common::run_program(&hauptprogramm);
}
