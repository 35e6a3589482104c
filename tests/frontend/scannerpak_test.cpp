// Token automata, longest prefix, scanner and token printing; the scanner's
// derived automaton and the fast scanner against the sixteen automata and
// the reference scanner, on large generated texts.
#include "frontend/scannerpak.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <map>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "common/program.hpp"
#include "common/rows.hpp"
#include "dea/build_dea.hpp"
#include "frontend/token_automaton.hpp"
#include "tests/support/capture.hpp"
#include "tests/support/program_run.hpp"
#include "tests/support/raised.hpp"
#include "tests/support/reference_scanner.hpp"

namespace {

using scannerpak::tokenart;
using enum scannerpak::tokenart;
using test_support::on_screen;
using test_support::raised;
using test_support::raised_name;
using test_support::reference_erkanntespraefix;
using test_support::report;
using test_support::report_in;

// The literal names of the kinds, for failure messages and token lists.
constexpr std::string_view kind_names[] = {
#define SCANNERPAK_TOKENART(kind, terminal, automaton) #kind,
#include "frontend/tokenart.def"
};

std::string_view name(tokenart kind) {
    return kind_names[static_cast<std::size_t>(kind)];
}

// The check error at a line of scannerpak.
std::string check_error_at(int line) {
    return report(common::check_error_name, {scannerpak::module_name, line});
}

TEST(Places, TheScannersReportsNameTheirFixedLines) {
    EXPECT_EQ(scannerpak::places::not_printable.text(), "scannerpak:413");
    EXPECT_EQ(scannerpak::places::no_token.text(), "scannerpak:434");
    EXPECT_EQ(scannerpak::eingabefehler, "SCANNERPAK.EINGABEFEHLER");
}

struct prefix_case {
    std::string text;
    std::map<tokenart, int> accepted;  // every kind not listed accepts nothing
};

TEST(ReferenceErkanntespraefix, LengthsOfTheTokenAutomata) {
    const std::vector<prefix_case> cases = {
        {"if", {{IF_TOKEN, 2}, {BEZEICHNER_TOKEN, 2}}},
        {"ifa", {{IF_TOKEN, 2}, {BEZEICHNER_TOKEN, 3}}},
        {"whiles", {{WHILE_TOKEN, 5}, {BEZEICHNER_TOKEN, 6}}},
        {"the", {{BEZEICHNER_TOKEN, 3}}},
        {"div", {{OP_TOKEN, 3}, {BEZEICHNER_TOKEN, 3}}},
        {"divx", {{OP_TOKEN, 3}, {BEZEICHNER_TOKEN, 4}}},
        {"<>", {{ROP_TOKEN, 1}}},
        {"==", {{ROP_TOKEN, 1}}},
        {"<=", {{ROP_TOKEN, 2}}},
        {"/=", {{ROP_TOKEN, 2}}},
        {"/", {}},
        {"/<", {}},
        {":", {}},
        {":=", {{ZUW_TOKEN, 2}}},
        {"a_", {{BEZEICHNER_TOKEN, 1}}},
        {"12ab", {{GANZEZAHL_TOKEN, 2}}},
        {"-5", {{OP_TOKEN, 1}}},
        {"true", {{BEZEICHNER_TOKEN, 4}}},
        {"false", {{BEZEICHNER_TOKEN, 5}}},
        {"x :=", {{BEZEICHNER_TOKEN, 1}}},
        {"skip;", {{SKIP_TOKEN, 4}, {BEZEICHNER_TOKEN, 4}}},
        {"", {}},
        // A character outside '!' .. '~' ends every run.
        {"ab\tc", {{BEZEICHNER_TOKEN, 2}}},
        {"ab\x7f"
         "c",
         {{BEZEICHNER_TOKEN, 2}}},
        {"ab\xc8"
         "c",
         {{BEZEICHNER_TOKEN, 2}}},
        {"007\n1", {{GANZEZAHL_TOKEN, 3}}},
        {"\x01", {}},
    };
    const auto& automata = scannerpak::scandeas();
    for (const prefix_case& c : cases) {
        for (int k = 0; k < scannerpak::tokenart_count; ++k) {
            const auto kind = static_cast<tokenart>(k);
            const auto listed = c.accepted.find(kind);
            const int expected = listed == c.accepted.end() ? 0 : listed->second;
            EXPECT_EQ(reference_erkanntespraefix(automata[static_cast<std::size_t>(k)], c.text), expected)
                << '"' << c.text << "\" with " << name(kind);
        }
    }
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

bool is_letter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// in_language returns true when `w` is a word of the token kind, by the
// description of the tokens rather than by their transitions.
bool in_language(tokenart kind, std::string_view w) {
    if (kind == GANZEZAHL_TOKEN) {
        return !w.empty() && std::all_of(w.begin(), w.end(), is_digit);
    }
    if (kind == BEZEICHNER_TOKEN) {
        return !w.empty() && is_letter(w[0]) &&
               std::all_of(w.begin() + 1, w.end(), [](char c) { return is_letter(c) || is_digit(c); });
    }
    static const std::map<tokenart, std::vector<std::string_view>> words = {
        {ROP_TOKEN, {"<", ">", "=", "<=", ">=", "/="}},
        {OP_TOKEN, {"+", "-", "*", "div", "mod"}},
        {AUF_TOKEN, {"("}},
        {ZU_TOKEN, {")"}},
        {ZUW_TOKEN, {":="}},
        {STRICHP_TOKEN, {";"}},
        {IF_TOKEN, {"if"}},
        {THEN_TOKEN, {"then"}},
        {ELSE_TOKEN, {"else"}},
        {FI_TOKEN, {"fi"}},
        {SKIP_TOKEN, {"skip"}},
        {WHILE_TOKEN, {"while"}},
        {DO_TOKEN, {"do"}},
        {OD_TOKEN, {"od"}},
    };
    const std::vector<std::string_view>& list = words.at(kind);
    return std::find(list.begin(), list.end(), w) != list.end();
}

int longest_in_language(tokenart kind, std::string_view w) {
    for (std::size_t length = w.size(); length > 0; --length) {
        if (in_language(kind, w.substr(0, length))) {
            return static_cast<int>(length);
        }
    }
    return 0;
}

TEST(Scandeas, EveryAutomatonAcceptsExactlyTheWordsOfItsKind) {
    // Every word of one or two characters (the second may lie outside the
    // columns), and every start of a longer word followed by any character.
    std::vector<std::string> words = {""};
    for (int a = '!'; a <= '~'; ++a) {
        words.emplace_back(1, static_cast<char>(a));
        for (int b = ' '; b <= 127; ++b) {
            words.push_back({static_cast<char>(a), static_cast<char>(b)});
        }
    }
    for (std::string_view word :
         {"the", "then", "els", "else", "ski", "skip", "whi", "whil", "while", "div", "mod", "007", "x1y"}) {
        for (int c = ' '; c <= 127; ++c) {
            words.push_back(std::string(word) + static_cast<char>(c));
        }
    }
    const auto& automata = scannerpak::scandeas();
    for (int k = 0; k < scannerpak::tokenart_count; ++k) {
        const auto kind = static_cast<tokenart>(k);
        for (const std::string& w : words) {
            ASSERT_EQ(reference_erkanntespraefix(automata[static_cast<std::size_t>(k)], w),
                      longest_in_language(kind, w))
                << '"' << w << "\" with " << name(kind);
        }
    }
}

TEST(Scandeas, StatesStartAndTrap) {
    // The highest state of each kind, which is the trap.
    struct highest_state {
        tokenart kind;
        int n;
    };
    constexpr highest_state highest[] = {
        {GANZEZAHL_TOKEN, 2}, {BEZEICHNER_TOKEN, 2}, {ROP_TOKEN, 4},  {OP_TOKEN, 6},
        {AUF_TOKEN, 2},       {ZU_TOKEN, 2},         {ZUW_TOKEN, 3},  {STRICHP_TOKEN, 2},
        {IF_TOKEN, 3},        {THEN_TOKEN, 5},       {ELSE_TOKEN, 5}, {FI_TOKEN, 3},
        {SKIP_TOKEN, 5},      {WHILE_TOKEN, 6},      {DO_TOKEN, 3},   {OD_TOKEN, 3},
    };
    static_assert(common::one_row_per_value(highest, &highest_state::kind, scannerpak::tokenart_count));
    for (const highest_state& row : highest) {
        const scannerpak::dea_type& d = *scannerpak::scandeas()[static_cast<std::size_t>(row.kind)];
        const std::string_view kind = name(row.kind);
        ASSERT_EQ(d.n(), row.n) << kind;
        EXPECT_EQ(d.f.n, d.n()) << kind;
        EXPECT_FALSE(d.f.inh[0]) << kind;
        EXPECT_FALSE(d.f.inh[static_cast<std::size_t>(d.n())]) << kind;
        for (int c = '!'; c <= '~'; ++c) {
            EXPECT_EQ(d.det.cell(d.n(), static_cast<char>(c)), d.n())
                << kind << " on " << static_cast<char>(c);
        }
    }
}

// The automata last as long as the process, wherever they are first used:
// here inside an arena scope, whose storage the next cells then take.
TEST(Scandeas, FirstUseInsideAnArenaScopeLastsBeyondIt) {
    const auto result = test_support::run_entry([] {
        std::array<int, scannerpak::tokenart_count> highest{};
        {
            const common::arena_scope scope;
            for (std::size_t k = 0; k < highest.size(); ++k) {
                highest[k] = scannerpak::scandeas()[k]->n();
            }
        }
        for (int i = 0; i < 10'000; ++i) {
            *common::make<int>() = -1;
        }
        for (std::size_t k = 0; k < highest.size(); ++k) {
            if (scannerpak::scandeas()[k]->n() != highest[k]) {
                return 1;
            }
        }
        return scannerpak::scanner("x := 1")->rest->token == ZUW_TOKEN ? 0 : 2;
    });
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.status, 0) << result.err;
}

// small_automaton returns the automaton with the highest state n (the
// trap), the listed moves and final states; every other cell leads to n.
scannerpak::dea_type small_automaton(dea::int32 n, std::initializer_list<dea::transition> moves,
                                     std::initializer_list<dea::int32> finals) {
    return dea::build_dea<scannerpak::dea_type>(n, std::span(moves.begin(), moves.size()),
                                                std::span(finals.begin(), finals.size()));
}

// 0 -a-> 1 (final) -b-> 2 -c-> 2, trap 3. It breaks the rule that a final
// state leads only to final states or the trap.
scannerpak::dea_type without_closed_finals() {
    return small_automaton(3, {{0, "a", 1}, {1, "b", 2}, {2, "c", 2}}, {1});
}

TEST(ReferenceErkanntespraefix, LooksBackOneStepOnly) {
    const scannerpak::dea_type d = without_closed_finals();
    EXPECT_EQ(reference_erkanntespraefix(&d, "a"), 1);
    EXPECT_EQ(reference_erkanntespraefix(&d, "ab"), 1);
    EXPECT_EQ(reference_erkanntespraefix(&d, "abc"), 0);
    EXPECT_EQ(reference_erkanntespraefix(&d, "az"), 1);
}

TEST(ReferenceErkanntespraefix, Guards) {
    scannerpak::dea_type d = without_closed_finals();
    d.det.cell(0, 'a') = 7;  // a cell outside the states 0 .. 3
    const struct {
        std::string_view text;
        const scannerpak::dea_type* automaton;
        int line;  // of the guard
    } cases[] = {
        {"a", nullptr, 317},
        {"ab", &d, 325},
        {"a", &d, 331},
        {"a ", &d, 333},
    };
    for (const auto& c : cases) {
        const auto out = on_screen([&] { reference_erkanntespraefix(c.automaton, c.text); });
        EXPECT_EQ(out.error, check_error_at(c.line)) << c.text;
        EXPECT_EQ(out.text, "") << c.text;
    }
}

// The cells of a list as "KIND text; KIND text", kinds without "_TOKEN".
std::string cells(scannerpak::listoftoken list) {
    std::string out;
    for (; list != nullptr; list = list->rest) {
        std::string_view kind = name(list->token);
        kind.remove_suffix(std::string_view("_TOKEN").size());
        if (!out.empty()) {
            out += "; ";
        }
        out += kind;
        out += ' ';
        out += list->string();
    }
    return out;
}

TEST(Scanner, TokenLists) {
    const struct {
        std::string_view text;
        std::string_view tokens;
    } cases[] = {
        {"x:=y+1", "BEZEICHNER x; ZUW :=; BEZEICHNER y; OP +; GANZEZAHL 1"},
        {"if", "IF if"},
        {"ifx", "BEZEICHNER ifx"},
        {"div", "OP div"},
        {"mod", "OP mod"},
        {"divx", "BEZEICHNER divx"},
        {"divmod", "BEZEICHNER divmod"},
        {"IF", "BEZEICHNER IF"},
        {"Div", "BEZEICHNER Div"},
        {"true", "BEZEICHNER true"},
        {"12ab", "GANZEZAHL 12; BEZEICHNER ab"},
        {"x := 007;", "BEZEICHNER x; ZUW :=; GANZEZAHL 007; STRICHP ;"},
        {"-5", "OP -; GANZEZAHL 5"},
        {"<=", "ROP <="},
        {">=", "ROP >="},
        {"/=", "ROP /="},
        {"<>", "ROP <; ROP >"},
        {"=<", "ROP =; ROP <"},
        {"==", "ROP =; ROP ="},
        {"<==", "ROP <=; ROP ="},
        {"((3+4)-5)", "AUF (; AUF (; GANZEZAHL 3; OP +; GANZEZAHL 4; ZU ); OP -; GANZEZAHL 5; ZU )"},
        {"skipped dox", "BEZEICHNER skipped; BEZEICHNER dox"},
        {"while x<1 do skip od", "WHILE while; BEZEICHNER x; ROP <; GANZEZAHL 1; DO do; SKIP skip; OD od"},
        {"if then else fi", "IF if; THEN then; ELSE else; FI fi"},
        {" \tx\r:=\n1 \r\n", "BEZEICHNER x; ZUW :=; GANZEZAHL 1"},
        {"", ""},
        {" \t\r\n", ""},
    };
    for (const auto& c : cases) {
        scannerpak::listoftoken list = nullptr;
        const auto out = on_screen([&] { list = scannerpak::scanner(c.text); });
        EXPECT_EQ(cells(list), c.tokens) << '"' << c.text << '"';
        EXPECT_EQ(out.text, "");
        EXPECT_EQ(out.error, "");
    }
    EXPECT_EQ(scannerpak::scanner(" \n"), nullptr);
}

TEST(Scanner, InputErrors) {
    using scannerpak::places::no_token;
    using scannerpak::places::not_printable;
    const std::string ascii_line = "Das ASCII-Zeichen Nr.";
    const std::string unknown_lines = "EINGABEFEHLER:\nDas Zeichen '";
    const struct {
        std::string text;
        std::string written;
        common::place place;
    } cases[] = {
        {"\f", ascii_line + " 12 ist kein druckbares Zeichen\n", not_printable},
        {"x := 1 \v", ascii_line + " 11 ist kein druckbares Zeichen\n", not_printable},
        {std::string("skip\0", 5), ascii_line + " 0 ist kein druckbares Zeichen\n", not_printable},
        {"\x7f", ascii_line + " 127 ist kein druckbares Zeichen\n", not_printable},
        {"ab\xc8", ascii_line + " 200 ist kein druckbares Zeichen\n", not_printable},
        {"\xff", ascii_line + " 255 ist kein druckbares Zeichen\n", not_printable},
        {"x := 1 # 2", unknown_lines + "#' ist nicht im Sprachschatz der Token\n", no_token},
        {"a_b", unknown_lines + "_' ist nicht im Sprachschatz der Token\n", no_token},
        {"x : = 1", unknown_lines + ":' ist nicht im Sprachschatz der Token\n", no_token},
        {"x / = 1", unknown_lines + "/' ist nicht im Sprachschatz der Token\n", no_token},
        {":\xc8", unknown_lines + ":' ist nicht im Sprachschatz der Token\n", no_token},
        {"'", unknown_lines + "'' ist nicht im Sprachschatz der Token\n", no_token},
        {"skip; ~", unknown_lines + "~' ist nicht im Sprachschatz der Token\n", no_token},
    };
    for (const auto& c : cases) {
        const auto out = on_screen([&] { scannerpak::scanner(c.text); });
        EXPECT_EQ(out.error, report(scannerpak::eingabefehler, c.place)) << c.text;
        EXPECT_EQ(out.text, c.written) << c.text;
    }
}

TEST(Scanner, LongTextIsScannedInALoop) {
    std::string text;
    constexpr int statements = 200'000;
    for (int i = 0; i < statements; ++i) {
        text += "x:=1;";
    }
    int count = 0;
    // A small stack: one level of recursion per token would not fit.
    common::run_on_large_stack(
        [&] {
            for (auto list = scannerpak::scanner(text); list != nullptr; list = list->rest) {
                ++count;
            }
        },
        std::size_t{1} << 20);
    EXPECT_EQ(count, 4 * statements);
}

TEST(Druckelistoftoken, OneLinePerToken) {
    auto* number = common::make<scannerpak::elem>(GANZEZAHL_TOKEN, "42");
    number->rest = common::make<scannerpak::elem>(STRICHP_TOKEN, ";");
    auto* quoted = common::make<scannerpak::elem>(BEZEICHNER_TOKEN, "a\"b");
    const struct {
        scannerpak::listoftoken list;
        std::string_view written;
    } cases[] = {
        {number, "\n(GANZEZAHL_TOKEN,\"42\")\n(STRICHP_TOKEN,\";\")\n"},
        {nullptr, "\n"},
        {quoted, "\n(BEZEICHNER_TOKEN,\"a\"b\")\n"},
    };
    for (const auto& c : cases) {
        const auto out = on_screen([&] { scannerpak::druckelistoftoken(c.list); });
        EXPECT_EQ(out.text, c.written);
        EXPECT_EQ(out.error, "");
    }
}

TEST(Druckelistoftoken, KindOutsideTheSixteenIsRefused) {
    auto* odd = common::make<scannerpak::elem>(static_cast<tokenart>(scannerpak::tokenart_count), "x");
    const auto out = on_screen([&] { scannerpak::druckelistoftoken(odd); });
    EXPECT_TRUE(out.error.starts_with(report_in(common::check_error_name, scannerpak::module_name)))
        << out.error;
}

// ---- The derived automaton against the sixteen automata it is derived from ----

using test_support::token_automata;

// Pieces of While text that meet every kind, every tie and every way a
// token ends: keywords alone and as prefixes of names, operators next to
// each other, characters that begin no token, characters outside '!' .. '~'.
// clang-format off
constexpr std::string_view tokens[] = {
    "if", "then", "else", "fi", "skip", "while", "do", "od", "div", "mod",
    "ifx", "thenx", "els", "elsewhere", "fi1", "skipped", "whil", "dox", "odd", "divmod", "mo", "d",
    "IF", "Div", "true", "false", "x", "y1", "abc123", "Z",
    "0", "007", "42", "2147483648",
    "<", ">", "=", "<=", ">=", "/=", "<>", "=<", "==", "<==",
    "+", "-", "*", "(", ")", ":=", ";",
};
constexpr std::string_view white[] = {" ", "  ", "\t", "\n", "\r", " \r\n"};
constexpr std::string_view bad[] = {
    "/", "/<", ":", ": =",
    "#", "_", "~", "'", "\"", "@", "!", "$", "%", "&", ",", ".", "?", "[", "\\", "]", "^", "`", "{", "|", "}",
    std::string_view("\0", 1), "\x01", "\x7f", "\x80", "\xc8", "\xff", "\f", "\v",
};
// clang-format on

template <std::size_t N>
std::string_view any(std::mt19937& random, const std::string_view (&list)[N]) {
    return list[std::uniform_int_distribution<std::size_t>(0, N - 1)(random)];
}

// generated returns `count` pieces drawn at random: a bad one with chance
// `bad_share`, else a token, followed by white space with chance `spaced`
// (without it, neighbours run into each other).
std::string generated(std::mt19937& random, int count, double bad_share, double spaced) {
    std::bernoulli_distribution is_bad(bad_share);
    std::bernoulli_distribution is_spaced(spaced);
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += is_bad(random) ? any(random, bad) : any(random, tokens);
        if (is_spaced(random)) {
            text += any(random, white);
        }
    }
    return text;
}

// expect_same_match_everywhere compares the derived automaton with the
// reference run of the automata it came from at every position of `text`.
void expect_same_match_everywhere(const token_automata& automata, const scannerpak::token_automaton& derived,
                                  std::string_view text) {
    for (std::size_t position = 0; position <= text.size(); ++position) {
        const std::string_view rest = text.substr(position);
        const scannerpak::token_match plain = test_support::reference_longest_match(automata, rest);
        const scannerpak::token_match fast = derived.match(rest);
        ASSERT_EQ(fast.length, plain.length) << "at " << position << ": \"" << rest.substr(0, 12) << '"';
        if (plain.length > 0) {
            ASSERT_EQ(fast.kind, plain.kind) << "at " << position << ": \"" << rest.substr(0, 12) << '"';
        }
    }
}

TEST(TokenAutomaton, SameTokenAsTheSixteenAutomataAtEveryPosition) {
    std::mt19937 random(12);
    const std::string text =
        generated(random, 200'000, 0.2, 0.5) + "while" + "x:=";  // the text ends in a token
    expect_same_match_everywhere(scannerpak::scandeas(), scannerpak::scanner_automaton(), text);
}

// ---- Automata that the one-step look-back of erkanntespraefix treats
// otherwise than a longest accepted prefix: the derived automaton follows
// the look-back ----

// They run on characters that begin no token of the sixteen kinds, so that
// what they contribute is not hidden by a longer name:
//   0 -#-> 1 (final) -$-> 2 -&-> 2: a final state leads to a state that is
//     neither final nor the trap;
//   0 -#-> 1 -$-> 1 with a final trap 2: the step into the trap counts, even
//     on a character outside the columns;
//   0 (final) -$-> 1 -$-> 0: the start state is final.
TEST(TokenAutomaton, ReproducesTheOneStepLookBackOfErkanntespraefix) {
    const scannerpak::dea_type odd[] = {
        small_automaton(3, {{0, "#", 1}, {1, "$", 2}, {2, "&", 2}}, {1}),
        small_automaton(2, {{0, "#", 1}, {1, "$", 1}}, {2}),
        small_automaton(2, {{0, "$", 1}, {1, "$", 0}}, {0}),
    };
    // Odd automata in place of a few kinds. The final trap makes a token of
    // one character almost everywhere, which ties with one-letter names.
    token_automata automata = scannerpak::scandeas();
    automata[static_cast<std::size_t>(tokenart::GANZEZAHL_TOKEN)] = &odd[0];
    automata[static_cast<std::size_t>(tokenart::AUF_TOKEN)] = &odd[1];
    automata[static_cast<std::size_t>(tokenart::OD_TOKEN)] = &odd[2];
    const scannerpak::token_automaton derived(automata);

    std::mt19937 random(7);
    constexpr std::string_view characters = "#$&ado \x01";
    std::uniform_int_distribution<std::size_t> character(0, characters.size() - 1);
    std::string text;
    for (int i = 0; i < 100'000; ++i) {
        text += characters[character(random)];
    }
    expect_same_match_everywhere(automata, derived, text);
    // Runs that the end of the text cuts, in every state of the odd automata.
    for (std::string_view end :
         {"#", "#$", "#$&", "#$&&", "$", "$$", "$$$", "#$$", "#\x01", "#$ ", "d", "od"}) {
        expect_same_match_everywhere(automata, derived, end);
    }
}

TEST(TokenAutomaton, AutomataItDoesNotDeriveAreRefused) {
    scannerpak::dea_type successor_outside = without_closed_finals();
    successor_outside.det.cell(1, 'b') = 4;  // the trap is 3
    // An automaton whose start is its trap, final or not.
    const scannerpak::dea_type trap_only = small_automaton(0, {}, {});
    const scannerpak::dea_type final_trap_only = small_automaton(0, {}, {0});
    const scannerpak::dea_ref refused[] = {nullptr, &successor_outside, &trap_only, &final_trap_only};
    for (const scannerpak::dea_ref odd : refused) {
        token_automata automata = scannerpak::scandeas();
        automata[3] = odd;
        const std::string error = raised([&] { const scannerpak::token_automaton derived(automata); });
        EXPECT_TRUE(error.starts_with(report_in(common::check_error_name, "token_automaton"))) << error;
    }
}

// ---- The whole scanner ----

// What a scan gives: the lines it wrote, its cells as kind and text, and the
// error it raised.
template <class Scan>
std::string scanned(Scan scan, const std::string& text) {
    std::string listed;
    const auto out = on_screen([&] {
        for (scannerpak::listoftoken list = scan(text); list != nullptr; list = list->rest) {
            listed += name(list->token);
            listed += ' ';
            listed += list->string();
            listed += '\n';
        }
    });
    return out.text + listed + out.error;
}

std::string scanned_by_reference(const std::string& text) {
    return scanned(
        [](std::string_view w) { return test_support::reference_scanner(scannerpak::scandeas(), w); }, text);
}

TEST(Scanner, SameAsTheReferenceScannerOnGeneratedTexts) {
    std::mt19937 random(2024);
    // A bad character ends a scan: many short texts meet one in every place.
    for (int i = 0; i < 2'000; ++i) {
        const std::string text = generated(random, 40, 0.05, 0.5);
        ASSERT_EQ(scanned(&scannerpak::scanner, text), scanned_by_reference(text)) << text;
    }
    // One long text of tokens and white space alone.
    const std::string good = generated(random, 300'000, 0.0, 0.7);
    ASSERT_EQ(scanned(&scannerpak::scanner, good), scanned_by_reference(good));
}

}  // namespace
