// halvik: pairwise equivalence of four deterministic automata, then word
// tests on three more. Tables have the columns '!' to '~'.
#include <string>
#include <string_view>

#include "automata/aq.hpp"
#include "automata/pruefe.hpp"
#include "common/program.hpp"
#include "common/textio.hpp"
#include "dea/build_dea.hpp"

namespace {

void main_procedure() {
    using dea_type = dea::dea_type<'!', '~'>;
    using dea::build_dea;
    using dea::int32;
    using dea::transition;

    constexpr transition moves_a1[]{{0, "a", 1}, {0, "b", 2}, {1, "a", 2}, {1, "b", 1}};
    constexpr transition moves_a2[]{{0, "a", 1}, {0, "b", 3}, {1, "a", 3},
                                    {1, "b", 2}, {2, "a", 3}, {2, "b", 2}};
    constexpr transition moves_a3[]{{0, "a", 2}, {0, "b", 3}, {1, "a", 3},
                                    {1, "b", 2}, {2, "a", 3}, {2, "b", 1}};
    constexpr transition moves_a4[]{{0, "a", 1}, {0, "b", 3}, {1, "a", 2},
                                    {1, "b", 0}, {2, "a", 3}, {2, "b", 2}};
    constexpr int32 final_2[]{2};
    constexpr int32 final_3[]{3};
    // deaa[i - 1] is the automaton numbered i in the verdicts.
    const dea_type deaa[]{
        build_dea<dea_type>(3, moves_a1, final_2),
        build_dea<dea_type>(4, moves_a2, final_3),
        build_dea<dea_type>(4, moves_a3, final_3),
        build_dea<dea_type>(4, moves_a4, final_3),
    };

    constexpr transition moves_b1[]{{0, "a", 1}, {1, "a", 2}, {2, "a", 3},
                                    {2, "b", 2}, {3, "b", 4}, {4, "a", 0}};
    constexpr int32 finals_b1[]{0, 2};
    // Words of '-' and '.' of length 1 to 4.
    constexpr transition moves_b2[]{{0, "-.", 1}, {1, "-.", 2}, {2, "-.", 3}, {3, "-.", 4}};
    constexpr int32 finals_b2[]{1, 2, 3, 4};
    // The Roman numerals I to X.
    // clang-format off
    constexpr transition moves_b3[]{
        {0, "I", 2}, {0, "V", 1}, {0, "X", 6},
        {1, "I", 7},
        {2, "I", 3}, {2, "V", 5}, {2, "X", 6},
        {3, "I", 4},
        {7, "I", 3}
    };
    // clang-format on
    constexpr int32 finals_b3[]{1, 2, 3, 4, 5, 6, 7};
    const dea_type deab1 = build_dea<dea_type>(5, moves_b1, finals_b1);
    const dea_type deab2 = build_dea<dea_type>(5, moves_b2, finals_b2);
    const dea_type deab3 = build_dea<dea_type>(8, moves_b3, finals_b3);

    struct comparison {
        int i;
        int j;
    };
    constexpr comparison comparisons[]{{1, 2}, {1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 4}};
    common::text_writer& out = common::standard_output();
    for (const comparison v : comparisons) {
        const bool equal = halvik::aq(deaa[v.i - 1], deaa[v.j - 1]);
        // The numbers stand without the leading blank of an integer image.
        out.put_line("Die DEA " + std::to_string(v.i) + " und " + std::to_string(v.j) +
                     (equal ? " sind gleich" : " sind nicht gleich"));
    }

    struct word_sample {
        const dea_type& automat;
        std::string_view word;
    };
    // clang-format off
    const word_sample samples[]{
        {deab1, "aa"}, {deab1, "aaaba"}, {deab1, "ab"}, {deab1, "aaba"},
        {deab2, "....."}, {deab2, "----"}, {deab2, "-.--"}, {deab2, "------"},
        {deab3, "V"}, {deab3, "VIII"}, {deab3, "VIIII"}, {deab3, "VXI"},
    };
    // clang-format on
    for (const word_sample& sample : samples) {
        automata::pruefe(sample.automat, sample.word);
    }
}

}  // namespace

int main() {
    return common::run_program(&main_procedure);
}
