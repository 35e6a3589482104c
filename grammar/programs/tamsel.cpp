// tamsel: the grammar of the While language, over symbols of its own, with
// its relations.
#include <array>
#include <cstdint>
#include <string_view>

#include "common/program.hpp"
#include "grammar/programs/report.hpp"
#include "grammar/relationenpaket.hpp"
#include "grammar/symbols.hpp"

namespace {

// ORDER: the images below follow this enumeration.
// clang-format off
enum class grammatiksymbole : std::uint8_t {
    PROGRAMM, ANWF, ANW, BEDINGTEANWEISUNG, BEDINGUNG, ZUWEISUNG, LEEREANWEISUNG, SCHLEIFE, AUSDRUCK,
    NAME, ZAHL, ROP, OP, TRUE, FALSE, IF1, THEN1, ELSE1, FI, WHILE1, DO1, OD, SEMIKOLON, SKIP, AUF, ZU,
    ZUWEISUNG1, ENDE
};

inline constexpr std::array<std::string_view, 28> images{
    "PROGRAMM", "ANWF", "ANW", "BEDINGTEANWEISUNG", "BEDINGUNG", "ZUWEISUNG", "LEEREANWEISUNG",
    "SCHLEIFE", "AUSDRUCK",
    "NAME", "ZAHL", "ROP", "OP", "TRUE", "FALSE", "IF1", "THEN1", "ELSE1", "FI", "WHILE1", "DO1", "OD",
    "SEMIKOLON", "SKIP", "AUF", "ZU", "ZUWEISUNG1", "'#'"};
// clang-format on

}  // namespace

template <>
struct grammar::symbol_traits<grammatiksymbole>
    : grammar::enum_symbol_traits<grammatiksymbole, images, grammatiksymbole::AUSDRUCK> {};

namespace {

using grammar::report::alternative;

void tamsel() {
    using enum grammatiksymbole;
    // clang-format off
    constexpr std::array<grammatiksymbole, 36> rechteseiten{
        ANWF,                                                     //  1
        ANW, SEMIKOLON, ANWF,                                     //  2 ..  4
        BEDINGTEANWEISUNG, ZUWEISUNG, LEEREANWEISUNG, SCHLEIFE,   //  5 ..  8
        SKIP,                                                     //  9
        NAME, ZUWEISUNG1, AUSDRUCK,                               // 10 .. 12
        ZAHL, NAME,                                               // 13 .. 14
        AUF, AUSDRUCK, OP, AUSDRUCK, ZU,                          // 15 .. 19
        IF1, BEDINGUNG, THEN1, ANWF, ELSE1, ANWF, FI,             // 20 .. 26
        WHILE1, BEDINGUNG, DO1, ANWF, OD,                         // 27 .. 31
        TRUE,                                                     // 32
        AUSDRUCK, ROP, AUSDRUCK,                                  // 33 .. 35
        FALSE};                                                   // 36
    // clang-format on

    constexpr std::array<alternative<grammatiksymbole>, 17> calls{{{PROGRAMM, 1, 1},
                                                                   {ANWF, 2, 4},
                                                                   {ANWF, 2, 2},
                                                                   {ANW, 5, 5},
                                                                   {ANW, 6, 6},
                                                                   {ANW, 7, 7},
                                                                   {ANW, 8, 8},
                                                                   {LEEREANWEISUNG, 9, 9},
                                                                   {ZUWEISUNG, 10, 12},
                                                                   {AUSDRUCK, 13, 13},
                                                                   {AUSDRUCK, 14, 14},
                                                                   {AUSDRUCK, 15, 19},
                                                                   {BEDINGTEANWEISUNG, 20, 26},
                                                                   {SCHLEIFE, 27, 31},
                                                                   {BEDINGUNG, 32, 32},
                                                                   {BEDINGUNG, 33, 35},
                                                                   {BEDINGUNG, 36, 36}}};

    grammar::relationenpaket::relationen<grammatiksymbole> whilepak;
    grammar::report::whole_report(whilepak, rechteseiten, calls, "Die While-Grammtik ist ");
}

}  // namespace

int main() {
    return common::run_program(&tamsel);
}
