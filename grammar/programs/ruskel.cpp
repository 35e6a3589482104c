// ruskel: the grammar of balanced parentheses, S -> AUF S ZU S | (empty),
// with the word test of ()() and its configurations.
#include <cstdint>

#include "common/program.hpp"
#include "common/textio.hpp"
#include "grammar/programs/report.hpp"
#include "grammar/relationenpaket.hpp"
#include "grammar/symbols.hpp"

namespace {

// The grammar symbols, one row each, in their order.
#define RUSKEL_SYMBOLS(ROW) \
    ROW(nonterminal, S)     \
    ROW(terminal, AUF)      \
    ROW(terminal, ZU)       \
    ROW(end_marker, ENDE)

enum class grammatiksymbole : std::uint8_t { RUSKEL_SYMBOLS(GRAMMAR_ENUMERATOR) };
constexpr grammar::symbol_row rows[]{RUSKEL_SYMBOLS(GRAMMAR_SYMBOL_ROW)};

}  // namespace

template <>
struct grammar::symbol_traits<grammatiksymbole> : grammar::row_symbol_traits<grammatiksymbole, rows> {};

namespace {

void ruskel() {
    using enum grammatiksymbole;
    // The alternatives in the order in which they are added.
    // clang-format off
    static constexpr grammar::report::alternative<grammatiksymbole> alternativen[]{
        {S, {AUF, S, ZU, S}},
        {S, {}},
    };
    // clang-format on
    static_assert(grammar::report::left_sides_are_nonterminals(alternativen));

    constexpr grammatiksymbole test1[]{AUF, ZU, AUF, ZU};

    grammar::relationenpaket::relationen<grammatiksymbole> klammpak;
    auto& out = common::standard_output();
    grammar::report::grammar_and_verdict(klammpak, alternativen, "Die Grammatik der Klammergebirge ist ");
    out.new_line();
    out.new_line();
    out.put_line("()() liegt wegen");
    if (!klammpak.gg.wortimsprachschatz(test1)) {
        out.put("nicht ");
    }
    out.put("im Sprachschatz ");
    out.new_line();
    out.new_line();
    klammpak.druckeeps(klammpak.epszaehler());
    grammar::report::relations(klammpak);
}

}  // namespace

int main() {
    return common::run_program(&ruskel);
}
