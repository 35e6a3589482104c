// ruskel: the grammar of balanced parentheses, S -> AUF S ZU S | (empty),
// with the word test of ()() and its configurations.
#include <array>
#include <cstdint>
#include <string_view>

#include "common/program.hpp"
#include "common/textio.hpp"
#include "grammar/programs/report.hpp"
#include "grammar/relationenpaket.hpp"
#include "grammar/symbols.hpp"

namespace {

enum class grammatiksymbole : std::uint8_t { S, AUF, ZU, ENDE };

inline constexpr std::array<std::string_view, 4> images{"S", "AUF", "ZU", "'#'"};

}  // namespace

template <>
struct grammar::symbol_traits<grammatiksymbole>
    : grammar::enum_symbol_traits<grammatiksymbole, images, grammatiksymbole::S> {};

namespace {

using grammar::report::alternative;

void ruskel() {
    using enum grammatiksymbole;
    constexpr std::array<grammatiksymbole, 4> rechteseiten{AUF, S, ZU, S};

    constexpr std::array<alternative<grammatiksymbole>, 2> calls{{{S, 1, 4}, {S, 1, 0}}};

    constexpr std::array<grammatiksymbole, 4> test1{AUF, ZU, AUF, ZU};

    grammar::relationenpaket::relationen<grammatiksymbole> klammpak;
    auto& out = common::standard_output();
    grammar::report::grammar_and_verdict(klammpak, rechteseiten, calls,
                                         "Die Grammatik der Klammergebirge ist ");
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
