// halvik: pairwise equivalence of four deterministic automata, then word
// tests on three more. Tables have the columns '!' to '~'.
#include <array>
#include <span>
#include <string>
#include <string_view>

#include "automata/aq.hpp"
#include "automata/erzeuge_dea.hpp"
#include "automata/pruefe.hpp"
#include "common/program.hpp"
#include "common/textio.hpp"

namespace {

void hauptprogramm() {
    using dea_type = dea::dea_type<'!', '~'>;
    using automata::uebergang;
    using dea::int32;
    const auto erzeuge = [](int32 n, std::span<const uebergang> moves, std::span<const int32> finals) {
        return automata::erzeuge_dea<'!', '~'>(n, moves, finals);
    };

    constexpr std::array<uebergang, 4> moves_a1{{{0, 'a', 1}, {0, 'b', 2}, {1, 'a', 2}, {1, 'b', 1}}};
    constexpr std::array<uebergang, 6> moves_a2{
        {{0, 'a', 1}, {0, 'b', 3}, {1, 'a', 3}, {1, 'b', 2}, {2, 'a', 3}, {2, 'b', 2}}};
    constexpr std::array<uebergang, 6> moves_a3{
        {{0, 'a', 2}, {0, 'b', 3}, {1, 'a', 3}, {1, 'b', 2}, {2, 'a', 3}, {2, 'b', 1}}};
    constexpr std::array<uebergang, 6> moves_a4{
        {{0, 'a', 1}, {0, 'b', 3}, {1, 'a', 2}, {1, 'b', 0}, {2, 'a', 3}, {2, 'b', 2}}};
    constexpr std::array<int32, 1> final_2{2};
    constexpr std::array<int32, 1> final_3{3};
    const std::array<dea_type, 4> deaa{
        erzeuge(3, moves_a1, final_2),
        erzeuge(4, moves_a2, final_3),
        erzeuge(4, moves_a3, final_3),
        erzeuge(4, moves_a4, final_3),
    };

    constexpr std::array<uebergang, 6> moves_b1{
        {{0, 'a', 1}, {1, 'a', 2}, {2, 'a', 3}, {2, 'b', 2}, {3, 'b', 4}, {4, 'a', 0}}};
    constexpr std::array<int32, 2> finals_b1{0, 2};
    // Words of '-' and '.' of length 1 to 4.
    // clang-format off
    constexpr std::array<uebergang, 8> moves_b2{{
        {0, '-', 1}, {0, '.', 1},
        {1, '-', 2}, {1, '.', 2},
        {2, '-', 3}, {2, '.', 3},
        {3, '-', 4}, {3, '.', 4}
    }};
    // clang-format on
    constexpr std::array<int32, 4> finals_b2{1, 2, 3, 4};
    // The Roman numerals I to X.
    // clang-format off
    constexpr std::array<uebergang, 9> moves_b3{{
        {0, 'I', 2}, {0, 'V', 1}, {0, 'X', 6},
        {1, 'I', 7},
        {2, 'I', 3}, {2, 'V', 5}, {2, 'X', 6},
        {3, 'I', 4},
        {7, 'I', 3}
    }};
    // clang-format on
    constexpr std::array<int32, 7> finals_b3{1, 2, 3, 4, 5, 6, 7};
    const dea_type deab1 = erzeuge(5, moves_b1, finals_b1);
    const dea_type deab2 = erzeuge(5, moves_b2, finals_b2);
    const dea_type deab3 = erzeuge(8, moves_b3, finals_b3);

    struct vergleich {
        int i;
        int j;
    };
    constexpr std::array<vergleich, 6> vergleiche{{{1, 2}, {1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 4}}};
    common::text_writer& out = common::standard_output();
    for (const vergleich v : vergleiche) {
        const bool gleich = halvik::aq(deaa[v.i - 1], deaa[v.j - 1]);
        // The numbers stand without the leading blank of an integer image.
        out.put_line("Die DEA " + std::to_string(v.i) + " und " + std::to_string(v.j) +
                     (gleich ? " sind gleich" : " sind nicht gleich"));
    }

    struct wortprobe {
        const dea_type& automat;
        std::string_view wort;
    };
    const std::array<wortprobe, 12> proben{{{deab1, "aa"},
                                            {deab1, "aaaba"},
                                            {deab1, "ab"},
                                            {deab1, "aaba"},
                                            {deab2, "....."},
                                            {deab2, "----"},
                                            {deab2, "-.--"},
                                            {deab2, "------"},
                                            {deab3, "V"},
                                            {deab3, "VIII"},
                                            {deab3, "VIIII"},
                                            {deab3, "VXI"}}};
    for (const wortprobe& probe : proben) {
        automata::pruefe(probe.automat, probe.wort);
    }
}

}  // namespace

int main() {
    return common::run_program(&hauptprogramm);
}
