// dunmor: the second test grammar; its epsilon set is printed three times,
// the second time without the start symbol.
#include <cstdint>

#include "common/program.hpp"
#include "common/textio.hpp"
#include "grammar/mengen.hpp"
#include "grammar/programs/report.hpp"
#include "grammar/relationenpaket.hpp"
#include "grammar/symbols.hpp"

namespace {

// The grammar symbols, one row each, in their order.
#define DUNMOR_SYMBOLS(ROW) \
    ROW(nonterminal, S)     \
    ROW(nonterminal, A)     \
    ROW(nonterminal, B)     \
    ROW(nonterminal, C)     \
    ROW(nonterminal, D)     \
    ROW(nonterminal, E)     \
    ROW(terminal, AA)       \
    ROW(terminal, BB)       \
    ROW(terminal, DD)       \
    ROW(end_marker, ENDE)

enum class grammatiksymbole : std::uint8_t { DUNMOR_SYMBOLS(GRAMMAR_ENUMERATOR) };
constexpr grammar::symbol_row rows[]{DUNMOR_SYMBOLS(GRAMMAR_SYMBOL_ROW)};

}  // namespace

template <>
struct grammar::symbol_traits<grammatiksymbole> : grammar::row_symbol_traits<grammatiksymbole, rows> {};

namespace {

void dunmor() {
    using enum grammatiksymbole;
    // The alternatives in the order in which they are added.
    // clang-format off
    static constexpr grammar::report::alternative<grammatiksymbole> alternativen[]{
        {S, {C, C}},
        {S, {A, E}},
        {A, {B, D}},
        {A, {S, C}},
        {B, {AA, C}},
        {B, {C, S, A}},
        {C, {}},
        {D, {DD}},
        {D, {D, S}},
        {E, {BB, E, BB}},
    };
    // clang-format on
    static_assert(grammar::report::left_sides_are_nonterminals(alternativen));

    grammar::relationenpaket::relationen<grammatiksymbole> relpak;
    auto& out = common::standard_output();
    // No empty line pair after this verdict: the epsilon line follows at once.
    grammar::report::grammar_and_verdict(relpak, alternativen, "Die Dunmor ist ");
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
