// orvane: the grammar of arithmetic terms with its relations.
#include <cstdint>

#include "common/program.hpp"
#include "grammar/programs/report.hpp"
#include "grammar/relationenpaket.hpp"
#include "grammar/symbols.hpp"

namespace {

// The grammar symbols, one row each, in their order.
#define ORVANE_SYMBOLS(ROW) \
    ROW(nonterminal, E)     \
    ROW(nonterminal, EREST) \
    ROW(nonterminal, T)     \
    ROW(nonterminal, TREST) \
    ROW(nonterminal, F)     \
    ROW(terminal, ADDOP)    \
    ROW(terminal, MULOP)    \
    ROW(terminal, AUF)      \
    ROW(terminal, ZU)       \
    ROW(terminal, ID)       \
    ROW(terminal, ZAHL)     \
    ROW(end_marker, ENDE)

enum class grammatiksymbole : std::uint8_t { ORVANE_SYMBOLS(GRAMMAR_ENUMERATOR) };
constexpr grammar::symbol_row rows[]{ORVANE_SYMBOLS(GRAMMAR_SYMBOL_ROW)};

}  // namespace

template <>
struct grammar::symbol_traits<grammatiksymbole> : grammar::row_symbol_traits<grammatiksymbole, rows> {};

namespace {

void orvane() {
    using enum grammatiksymbole;
    // The alternatives in the order in which they are added.
    // clang-format off
    static constexpr grammar::report::alternative<grammatiksymbole> alternativen[]{
        {E, {T, EREST}},
        {EREST, {}},
        {EREST, {ADDOP, T, EREST}},
        {T, {F, TREST}},
        {TREST, {}},
        {TREST, {MULOP, F, TREST}},
        {F, {AUF, E, ZU}},
        {F, {ID}},
        {F, {ZAHL}},
    };
    // clang-format on
    static_assert(grammar::report::left_sides_are_nonterminals(alternativen));

    grammar::relationenpaket::relationen<grammatiksymbole> klammpak;
    grammar::report::whole_report(klammpak, alternativen, "Die Grammatik der arithmetischen Terme ist ");
}

}  // namespace

int main() {
    return common::run_program(&orvane);
}
