// orvane: the grammar of arithmetic terms with its relations.
#include <array>
#include <cstdint>
#include <string_view>

#include "common/program.hpp"
#include "grammar/programs/report.hpp"
#include "grammar/relationenpaket.hpp"
#include "grammar/symbols.hpp"

namespace {

enum class grammatiksymbole : std::uint8_t { E, EREST, T, TREST, F, ADDOP, MULOP, AUF, ZU, ID, ZAHL, ENDE };

inline constexpr std::array<std::string_view, 12> images{"E",     "EREST", "T",  "TREST", "F",    "ADDOP",
                                                         "MULOP", "AUF",   "ZU", "ID",    "ZAHL", "'#'"};

}  // namespace

template <>
struct grammar::symbol_traits<grammatiksymbole>
    : grammar::enum_symbol_traits<grammatiksymbole, images, grammatiksymbole::F> {};

namespace {

using grammar::report::alternative;

void orvane() {
    using enum grammatiksymbole;
    constexpr std::array<grammatiksymbole, 15> rechteseiten{T, EREST, ADDOP, T, EREST, F,  TREST, MULOP,
                                                            F, TREST, AUF,   E, ZU,    ID, ZAHL};

    constexpr std::array<alternative<grammatiksymbole>, 9> calls{{{E, 1, 2},
                                                                  {EREST, 1, 0},
                                                                  {EREST, 3, 5},
                                                                  {T, 6, 7},
                                                                  {TREST, 1, 0},
                                                                  {TREST, 8, 10},
                                                                  {F, 11, 13},
                                                                  {F, 14, 14},
                                                                  {F, 15, 15}}};

    grammar::relationenpaket::relationen<grammatiksymbole> klammpak;
    grammar::report::whole_report(klammpak, rechteseiten, calls,
                                  "Die Grammatik der arithmetischen Terme ist ");
}

}  // namespace

int main() {
    return common::run_program(&orvane);
}
