// pirrel: the first test grammar, with empty alternatives in the middle of
// right sides, and its relations.
#include <array>
#include <cstdint>
#include <string_view>

#include "common/program.hpp"
#include "grammar/programs/report.hpp"
#include "grammar/relationenpaket.hpp"
#include "grammar/symbols.hpp"

namespace {

enum class grammatiksymbole : std::uint8_t { S, A, B, C, E, CC, BB, G, ENDE };

inline constexpr std::array<std::string_view, 9> images{"S", "A", "B", "C", "E", "CC", "BB", "G", "'#'"};

}  // namespace

template <>
struct grammar::symbol_traits<grammatiksymbole>
    : grammar::enum_symbol_traits<grammatiksymbole, images, grammatiksymbole::E> {};

namespace {

using grammar::report::alternative;

void pirrel() {
    using enum grammatiksymbole;
    constexpr std::array<grammatiksymbole, 12> rechteseiten{A, C, B, E, C, B, CC, G, BB, BB, BB, E};

    constexpr std::array<alternative<grammatiksymbole>, 9> calls{{{S, 1, 2},
                                                                  {S, 3, 4},
                                                                  {S, 5, 7},
                                                                  {A, 8, 8},
                                                                  {B, 1, 0},
                                                                  {B, 9, 9},
                                                                  {C, 10, 11},
                                                                  {C, 12, 12},
                                                                  {E, 1, 0}}};

    grammar::relationenpaket::relationen<grammatiksymbole> klammpak;
    grammar::report::whole_report(klammpak, rechteseiten, calls, "Die Test-Grammatik ist ");
}

}  // namespace

int main() {
    return common::run_program(&pirrel);
}
