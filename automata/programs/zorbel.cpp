// zorbel: nondeterministic six-state automata, state sets and epsilon hulls.
#include <span>
#include <string_view>

#include "automata/zustandsmenge.hpp"
#include "common/arena.hpp"
#include "common/errors.hpp"
#include "common/program.hpp"
#include "common/textio.hpp"

namespace {

void main_procedure() {
    using namespace zorbel;
    constexpr char epsilon = ndet_ueber_type::epsilon;

    // One named table entry: the set `to` for state `from` and `on`.
    struct entry {
        int32 from;
        char on;
        std::span<const int32> to;
    };

    // Builds an automaton over 0 .. 5 whose named entries hold their members;
    // every other entry stays a new empty set of its own.
    const auto build = [](std::span<const entry> entries, std::span<const int32> finals) {
        ndea_type automat(5);
        for (const entry& e : entries) {
            for (const int32 s : e.to) {
                hinzu(s, automat.ndet.at(e.from, e.on));
            }
        }
        for (const int32 s : finals) {
            automat.f.set(s, true, common::here());
        }
        return automat;
    };

    const auto print_truth_value = [](bool b) { common::standard_output().put_line(b ? "TRUE" : "FALSE"); };

    constexpr int32 to_1_3[]{1, 3};
    constexpr int32 to_1[]{1};
    constexpr int32 to_2[]{2};
    constexpr int32 to_3[]{3};
    constexpr int32 to_4[]{4};
    constexpr int32 to_5[]{5};
    // The cycle 1-2 and the cycle 3-4-5, entered from 0 on 'a' or by epsilon.
    const entry cycles_2oder3[]{{0, 'a', to_1_3}, {1, 'a', to_2}, {2, 'a', to_1},
                                {3, 'a', to_4},   {4, 'a', to_5}, {5, 'a', to_3}};
    const entry cycles_2o3[]{{0, epsilon, to_1_3}, {1, 'a', to_2}, {2, 'a', to_1},
                             {3, 'a', to_4},       {4, 'a', to_5}, {5, 'a', to_3}};
    const entry cycles_eps[]{{0, epsilon, to_1_3}, {1, epsilon, to_2}, {2, epsilon, to_1},
                             {3, epsilon, to_4},   {4, epsilon, to_5}, {5, epsilon, to_3}};
    constexpr int32 finals_2oder3[]{0, 2, 5};
    constexpr int32 finals_2o3[]{0, 1, 3};

    const ndea_type ndea_2oder3 = build(cycles_2oder3, finals_2oder3);
    drucke(ndea_2oder3.ndet.at(0, 'a'));
    // The copies in the arena share the local tables' sets and have no final state.
    const ndea_ref ref2oder3 = common::make<ndea_type>(ndea_2oder3.ndet);
    const ndea_type ndea_2o3 = build(cycles_2o3, finals_2o3);
    drucke(ndea_2o3.ndet.at(0, epsilon));
    const ndea_ref ref2o3 = common::make<ndea_type>(ndea_2o3.ndet);
    const ndea_type ndea_eps = build(cycles_eps, finals_2o3);
    const ndea_ref refeps = common::make<ndea_type>(ndea_eps.ndet);

    zustandsmenge z1 = leeremenge(3);
    drucke(z1);
    print_truth_value(istleer(z1));
    z1 = hinzu(3, z1);
    drucke(z1);
    zustandsmenge z2 = hinzu(3, leeremenge(3));
    print_truth_value(z1 == z2);
    z2 = hinzu(1, z2);
    print_truth_value(z1 == z2);
    drucke(z1 + z2);

    drucke(ehuellevon(0, ref2oder3));
    drucke(ehuellevon(0, ref2o3));
    drucke(ehuellevon(3, refeps));
}

}  // namespace

int main() {
    return common::run_program(&main_procedure);
}
