// tamsel: the grammar of the While language, over symbols of its own, with
// its relations.
#include <cstdint>

#include "common/program.hpp"
#include "grammar/programs/report.hpp"
#include "grammar/relationenpaket.hpp"
#include "grammar/symbols.hpp"

namespace {

// The grammar symbols, one row each, in their order.
#define TAMSEL_SYMBOLS(ROW)             \
    ROW(nonterminal, PROGRAMM)          \
    ROW(nonterminal, ANWF)              \
    ROW(nonterminal, ANW)               \
    ROW(nonterminal, BEDINGTEANWEISUNG) \
    ROW(nonterminal, BEDINGUNG)         \
    ROW(nonterminal, ZUWEISUNG)         \
    ROW(nonterminal, LEEREANWEISUNG)    \
    ROW(nonterminal, SCHLEIFE)          \
    ROW(nonterminal, AUSDRUCK)          \
    ROW(terminal, NAME)                 \
    ROW(terminal, ZAHL)                 \
    ROW(terminal, ROP)                  \
    ROW(terminal, OP)                   \
    ROW(terminal, TRUE)                 \
    ROW(terminal, FALSE)                \
    ROW(terminal, IF1)                  \
    ROW(terminal, THEN1)                \
    ROW(terminal, ELSE1)                \
    ROW(terminal, FI)                   \
    ROW(terminal, WHILE1)               \
    ROW(terminal, DO1)                  \
    ROW(terminal, OD)                   \
    ROW(terminal, SEMIKOLON)            \
    ROW(terminal, SKIP)                 \
    ROW(terminal, AUF)                  \
    ROW(terminal, ZU)                   \
    ROW(terminal, ZUWEISUNG1)           \
    ROW(end_marker, ENDE)

enum class grammatiksymbole : std::uint8_t { TAMSEL_SYMBOLS(GRAMMAR_ENUMERATOR) };
constexpr grammar::symbol_row rows[]{TAMSEL_SYMBOLS(GRAMMAR_SYMBOL_ROW)};

}  // namespace

template <>
struct grammar::symbol_traits<grammatiksymbole> : grammar::row_symbol_traits<grammatiksymbole, rows> {};

namespace {

void tamsel() {
    using enum grammatiksymbole;
    // The alternatives in the order in which they are added.
    // clang-format off
    static constexpr grammar::report::alternative<grammatiksymbole> alternativen[]{
        {PROGRAMM, {ANWF}},
        {ANWF, {ANW, SEMIKOLON, ANWF}},
        {ANWF, {ANW}},
        {ANW, {BEDINGTEANWEISUNG}},
        {ANW, {ZUWEISUNG}},
        {ANW, {LEEREANWEISUNG}},
        {ANW, {SCHLEIFE}},
        {LEEREANWEISUNG, {SKIP}},
        {ZUWEISUNG, {NAME, ZUWEISUNG1, AUSDRUCK}},
        {AUSDRUCK, {ZAHL}},
        {AUSDRUCK, {NAME}},
        {AUSDRUCK, {AUF, AUSDRUCK, OP, AUSDRUCK, ZU}},
        {BEDINGTEANWEISUNG, {IF1, BEDINGUNG, THEN1, ANWF, ELSE1, ANWF, FI}},
        {SCHLEIFE, {WHILE1, BEDINGUNG, DO1, ANWF, OD}},
        {BEDINGUNG, {TRUE}},
        {BEDINGUNG, {AUSDRUCK, ROP, AUSDRUCK}},
        {BEDINGUNG, {FALSE}},
    };
    // clang-format on
    static_assert(grammar::report::left_sides_are_nonterminals(alternativen));

    grammar::relationenpaket::relationen<grammatiksymbole> whilepak;
    grammar::report::whole_report(whilepak, alternativen, "Die While-Grammtik ist ");
}

}  // namespace

int main() {
    return common::run_program(&tamsel);
}
