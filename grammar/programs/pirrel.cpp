// pirrel: the first test grammar, with empty alternatives in the middle of
// right sides, and its relations.
#include <cstdint>

#include "common/program.hpp"
#include "grammar/programs/report.hpp"
#include "grammar/relationenpaket.hpp"
#include "grammar/symbols.hpp"

namespace {

// The grammar symbols, one row each, in their order.
#define PIRREL_SYMBOLS(ROW) \
    ROW(nonterminal, S)     \
    ROW(nonterminal, A)     \
    ROW(nonterminal, B)     \
    ROW(nonterminal, C)     \
    ROW(nonterminal, E)     \
    ROW(terminal, CC)       \
    ROW(terminal, BB)       \
    ROW(terminal, G)        \
    ROW(end_marker, ENDE)

enum class grammatiksymbole : std::uint8_t { PIRREL_SYMBOLS(GRAMMAR_ENUMERATOR) };
constexpr grammar::symbol_row rows[]{PIRREL_SYMBOLS(GRAMMAR_SYMBOL_ROW)};

}  // namespace

template <>
struct grammar::symbol_traits<grammatiksymbole> : grammar::row_symbol_traits<grammatiksymbole, rows> {};

namespace {

void pirrel() {
    using enum grammatiksymbole;
    // The alternatives in the order in which they are added.
    // clang-format off
    static constexpr grammar::report::alternative<grammatiksymbole> alternativen[]{
        {S, {A, C}},
        {S, {B, E}},
        {S, {C, B, CC}},
        {A, {G}},
        {B, {}},
        {B, {BB}},
        {C, {BB, BB}},
        {C, {E}},
        {E, {}},
    };
    // clang-format on
    static_assert(grammar::report::left_sides_are_nonterminals(alternativen));

    grammar::relationenpaket::relationen<grammatiksymbole> klammpak;
    grammar::report::whole_report(klammpak, alternativen, "Die Test-Grammatik ist ");
}

}  // namespace

int main() {
    return common::run_program(&pirrel);
}
