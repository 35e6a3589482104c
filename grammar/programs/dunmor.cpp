// dunmor: the second test grammar; its epsilon set is printed three times,
// the second time without the start symbol.
#include <array>
#include <cstdint>
#include <string_view>

#include "common/program.hpp"
#include "common/textio.hpp"
#include "grammar/mengen.hpp"
#include "grammar/programs/report.hpp"
#include "grammar/relationenpaket.hpp"
#include "grammar/symbols.hpp"

namespace {

enum class grammatiksymbole : std::uint8_t { S, A, B, C, D, E, AA, BB, DD, ENDE };

inline constexpr std::array<std::string_view, 10> images{"S", "A",  "B",  "C",  "D",
                                                         "E", "AA", "BB", "DD", "'#'"};

}  // namespace

template <>
struct grammar::symbol_traits<grammatiksymbole>
    : grammar::enum_symbol_traits<grammatiksymbole, images, grammatiksymbole::E> {};

namespace {

using grammar::report::alternative;

void dunmor() {
    using enum grammatiksymbole;
    constexpr std::array<grammatiksymbole, 19> rechteseiten{C, C, A, E,  B, D, S,  C, AA, C,
                                                            C, S, A, DD, D, S, BB, E, BB};

    constexpr std::array<alternative<grammatiksymbole>, 10> calls{{{S, 1, 2},
                                                                   {S, 3, 4},
                                                                   {A, 5, 6},
                                                                   {A, 7, 8},
                                                                   {B, 9, 10},
                                                                   {B, 11, 13},
                                                                   {C, 1, 0},
                                                                   {D, 14, 14},
                                                                   {D, 15, 16},
                                                                   {E, 17, 19}}};

    grammar::relationenpaket::relationen<grammatiksymbole> relpak;
    auto& out = common::standard_output();
    // No empty line pair after this verdict: the epsilon line follows at once.
    grammar::report::grammar_and_verdict(relpak, rechteseiten, calls, "Die Dunmor ist ");
    auto p = relpak.epszaehler();
    relpak.druckeeps(relpak.epszaehler());
    out.new_line();
    out.new_line();
    grammar::mengen::loesche(S, p);
    relpak.druckeeps(p);
    out.new_line();
    out.new_line();
    relpak.druckeeps(relpak.epszaehler());
    grammar::report::relations(relpak);
}

}  // namespace

int main() {
    return common::run_program(&dunmor);
}
