// quenmar: word tests on one deterministic automaton whose table has a blank
// column.
#include <string_view>

#include "automata/pruefe.hpp"
#include "common/program.hpp"
#include "dea/build_dea.hpp"

namespace {

void main_procedure() {
    using dea_type = dea::dea_type<' ', '~'>;
    using dea::transition;

    // The states record the parities of a and b read so far: 0 even/even,
    // 1 odd a, 2 odd b, 3 odd/odd; every other character leads to the trap 4.
    // clang-format off
    constexpr transition moves[]{
        {0, "a", 1}, {0, "b", 2},
        {1, "a", 0}, {1, "b", 3},
        {2, "a", 3}, {2, "b", 0},
        {3, "a", 2}, {3, "b", 1}
    };
    // clang-format on
    constexpr dea::int32 finals[]{3};
    const dea_type dea1 = dea::build_dea<dea_type>(4, moves, finals);

    constexpr std::string_view words[]{"a", "abb", "abaa", "abbb", "ab", "ab "};
    for (const std::string_view w : words) {
        automata::pruefe(dea1, w);
    }
}

}  // namespace

int main() {
    return common::run_program(&main_procedure);
}
