// Grammar symbols, grammar-tree nodes and the parser creategb.
#include "frontend/comtypes.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "common/program.hpp"
#include "tests/support/raised.hpp"
#include "tests/support/while_programs.hpp"

namespace {

using comtypes::alphabet;
using enum comtypes::alphabet;
using scannerpak::tokenart;
using test_support::nested_ifs;
using test_support::nested_loops;
using test_support::nested_parentheses;
using test_support::raised;
using test_support::raised_name;
using test_support::report;

// The literal names of the symbols, for failure messages.
constexpr std::string_view symbol_names[] = {
#define COMTYPES_SYMBOL(symbol, drawn_by, label) #symbol,
#include "frontend/alphabet.def"
};

// Nine nonterminals, then eighteen terminals.
static_assert(comtypes::alphabet_count == 27 && comtypes::first_terminal == IFT);

std::string_view name(alphabet a) {
    return symbol_names[static_cast<std::size_t>(a)];
}

TEST(Places, TheParsersNestingReportsNameTheirFixedLines) {
    EXPECT_EQ(comtypes::places::while_nesting.text(), "comtypes:233");
    EXPECT_EQ(comtypes::places::if_nesting.text(), "comtypes:239");
    EXPECT_EQ(comtypes::places::parenthesis_nesting.text(), "comtypes:255");
}

TEST(Termtype, EveryTokenKindHasItsTerminal) {
    const std::vector<std::pair<tokenart, alphabet>> cases = {
        {tokenart::GANZEZAHL_TOKEN, ZAHLT}, {tokenart::BEZEICHNER_TOKEN, NAMET},
        {tokenart::ROP_TOKEN, ROPT},        {tokenart::OP_TOKEN, OPT},
        {tokenart::AUF_TOKEN, AUFT},        {tokenart::ZU_TOKEN, ZUT},
        {tokenart::ZUW_TOKEN, ZUWEISUNGT},  {tokenart::STRICHP_TOKEN, SEMIKOLONT},
        {tokenart::IF_TOKEN, IFT},          {tokenart::THEN_TOKEN, THENT},
        {tokenart::ELSE_TOKEN, ELSET},      {tokenart::FI_TOKEN, FIT},
        {tokenart::SKIP_TOKEN, SKIPT},      {tokenart::WHILE_TOKEN, WHILET},
        {tokenart::DO_TOKEN, DOT},          {tokenart::OD_TOKEN, ODT},
    };
    for (const auto& [kind, terminal] : cases) {
        EXPECT_EQ(comtypes::termtype(kind), terminal) << "kind " << static_cast<int>(kind);
    }
}

TEST(Prefterms, TerminalsThatBeginEachNonterminal) {
    const std::vector<alphabet> statement = {IFT, NAMET, SKIPT, WHILET};
    const std::vector<std::pair<alphabet, std::vector<alphabet>>> cases = {
        {PROGRAMM, statement},
        {ANWF, statement},
        {ANW, statement},
        {LEEREANWEISUNG, {SKIPT}},
        {ZUWEISUNG, {NAMET}},
        {BEDINGTEANWEISUNG, {IFT}},
        {SCHLEIFE, {WHILET}},
        {AUSDRUCK, {NAMET, ZAHLT, AUFT}},
        {BEDINGUNG, {NAMET, ZAHLT, AUFT, TRUET, FALSET}},
    };
    for (const auto& [nt, members] : cases) {
        const comtypes::terminals set = comtypes::prefterms(nt);
        for (int a = 0; a < comtypes::alphabet_count; ++a) {
            const auto t = static_cast<alphabet>(a);
            const bool listed = std::find(members.begin(), members.end(), t) != members.end();
            EXPECT_EQ(set.contains(t), listed) << name(nt) << " / " << name(t);
        }
    }
}

TEST(Grknoten, VariantFieldsAreGuarded) {
    comtypes::grknoten programm(PROGRAMM);
    comtypes::grknoten leaf(NAMET, "x");
    EXPECT_EQ(programm.knoten(), nullptr);
    EXPECT_EQ(programm.rest, nullptr);
    EXPECT_EQ(leaf.exp(), "x");
    EXPECT_EQ(leaf.rest, nullptr);
    // The guard names the line of the node's declaration.
    const std::string variant_guard = report(common::check_error_name, {comtypes::module_name, 85});
    EXPECT_EQ(raised([&] { (void)programm.exp(); }), variant_guard);
    EXPECT_EQ(raised([&] { (void)leaf.knoten(); }), variant_guard);
    EXPECT_EQ(raised([&] { leaf.knoten() = &programm; }), variant_guard);

    comtypes::grknoten ift(IFT, "if");
    comtypes::grknoten falset(FALSET, "false");
    comtypes::grknoten bedingung(BEDINGUNG);
    EXPECT_TRUE(comtypes::isterminal(&ift));
    EXPECT_FALSE(comtypes::isnonterminal(&ift));
    EXPECT_TRUE(comtypes::isterminal(&falset));
    EXPECT_TRUE(comtypes::isnonterminal(&bedingung));
    EXPECT_EQ(raised_name([] { comtypes::isterminal(nullptr); }), common::check_error_name);
    EXPECT_EQ(raised_name([] { comtypes::isnonterminal(nullptr); }), common::check_error_name);
}

TEST(Termtype, ValuesOutsideTheirRangeAreRefused) {
    EXPECT_EQ(
        raised_name([] { (void)comtypes::termtype(static_cast<tokenart>(scannerpak::tokenart_count)); }),
        common::check_error_name);
    EXPECT_EQ(raised_name([] { (void)comtypes::prefterms(IFT); }), common::check_error_name);
    EXPECT_EQ(raised_name([] { (void)comtypes::prefterms(FALSET); }), common::check_error_name);
}

// The tree as text: a nonterminal as NAME(children), a leaf as NAME'text'.
void draw(comtypes::grbaum node, std::string& out) {
    for (bool first = true; node != nullptr; node = node->rest, first = false) {
        if (!first) {
            out += ' ';
        }
        out += name(node->al);
        if (comtypes::is_terminal_symbol(node->al)) {
            out += '\'';
            out += node->exp();
            out += '\'';
        } else {
            out += '(';
            draw(node->knoten(), out);
            out += ')';
        }
    }
}

std::string drawn(comtypes::grbaum tree) {
    std::string out;
    draw(tree, out);
    return out;
}

std::string statement(std::string_view inner) {
    return "PROGRAMM(ANWF(ANW(" + std::string(inner) + ")))";
}

TEST(Creategb, TreeShapes) {
    const std::string skip = "LEEREANWEISUNG(SKIPT'skip')";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"skip", statement(skip)},
        {"skip; skip", "PROGRAMM(ANWF(ANW(" + skip + ") SEMIKOLONT';' ANWF(ANW(" + skip + "))))"},
        {"x := 1", statement("ZUWEISUNG(NAMET'x' ZUWEISUNGT':=' AUSDRUCK(ZAHLT'1'))")},
        {"Abc := y", statement("ZUWEISUNG(NAMET'Abc' ZUWEISUNGT':=' AUSDRUCK(NAMET'y'))")},
        {"x := (a + 1)",
         statement("ZUWEISUNG(NAMET'x' ZUWEISUNGT':=' AUSDRUCK(AUFT'(' AUSDRUCK(NAMET'a') OPT'+' "
                   "AUSDRUCK(ZAHLT'1') ZUT')'))")},
        {"x := ((1 + 2) * 3)",
         statement("ZUWEISUNG(NAMET'x' ZUWEISUNGT':=' AUSDRUCK(AUFT'(' AUSDRUCK(AUFT'(' AUSDRUCK(ZAHLT'1') "
                   "OPT'+' AUSDRUCK(ZAHLT'2') ZUT')') OPT'*' AUSDRUCK(ZAHLT'3') ZUT')'))")},
        {"y := (a div b)",
         statement("ZUWEISUNG(NAMET'y' ZUWEISUNGT':=' AUSDRUCK(AUFT'(' AUSDRUCK(NAMET'a') OPT'div' "
                   "AUSDRUCK(NAMET'b') ZUT')'))")},
        {"while x < 10 do skip od",
         statement("SCHLEIFE(WHILET'while' BEDINGUNG(AUSDRUCK(NAMET'x') ROPT'<' AUSDRUCK(ZAHLT'10')) "
                   "DOT'do' ANWF(ANW(" +
                   skip + ")) ODT'od')")},
        {"if x <= 1 then skip else skip fi",
         statement("BEDINGTEANWEISUNG(IFT'if' BEDINGUNG(AUSDRUCK(NAMET'x') ROPT'<=' AUSDRUCK(ZAHLT'1')) "
                   "THENT'then' ANWF(ANW(" +
                   skip + ")) ELSET'else' ANWF(ANW(" + skip + ")) FIT'fi')")},
        {"while a /= b do if a > b then skip else while c = d do skip od fi od",
         statement("SCHLEIFE(WHILET'while' BEDINGUNG(AUSDRUCK(NAMET'a') ROPT'/=' AUSDRUCK(NAMET'b')) "
                   "DOT'do' ANWF(ANW(BEDINGTEANWEISUNG(IFT'if' BEDINGUNG(AUSDRUCK(NAMET'a') ROPT'>' "
                   "AUSDRUCK(NAMET'b')) THENT'then' ANWF(ANW(" +
                   skip +
                   ")) ELSET'else' "
                   "ANWF(ANW(SCHLEIFE(WHILET'while' BEDINGUNG(AUSDRUCK(NAMET'c') ROPT'=' "
                   "AUSDRUCK(NAMET'd')) DOT'do' ANWF(ANW(" +
                   skip + ")) ODT'od'))) FIT'fi'))) ODT'od')")},
    };
    for (const auto& [text, tree] : cases) {
        std::string error = "untouched";
        scannerpak::listoftoken left = scannerpak::scanner("skip");
        const scannerpak::listoftoken before = left;
        const comtypes::grbaum root = comtypes::creategb(scannerpak::scanner(text), &left, &error);
        ASSERT_NE(root, nullptr) << text;
        EXPECT_EQ(drawn(root), tree) << text;
        EXPECT_EQ(error, "untouched");
        EXPECT_EQ(left, before);
    }
}

struct failure_case {
    std::string text;
    std::string message;
    int left_at;  // 1-based number of the token left over; 0: none
};

TEST(Creategb, ParseErrors) {
    const std::string ran_out = "Allgemeiner Parser Fehler: Kein vollstaendiges Programm";
    const std::string at = "Parser Fehler bei Tokenposition ";
    const std::vector<failure_case> cases = {
        {"skip;", ran_out, 0},
        {"skip skip", at + " 2: \"skip\"", 2},
        {"od", at + " 1: \"od\"", 1},
        {"skip; od", at + " 3: \"od\"", 3},
        {"x :=", at + " 1: \"x\"", 1},
        {"x", at + " 1: \"x\"", 1},
        {"x = 1", at + " 1: \"x\"", 1},
        {"x := ;", at + " 3: \";\"", 3},
        {"if x < 1 then skip fi", at + " 7: \"fi\"", 7},
        {"while x < 1 do od", at + " 6: \"od\"", 6},
        {"while x < 1 do skip; od", at + " 8: \"od\"", 8},
        {"while x < 1 skip od", at + " 5: \"skip\"", 5},
        {"while x < 1 do skip", ran_out, 0},
        {"x := (1 + 2 * 3)", at + " 7: \"*\"", 7},
        {"x := (a)", at + " 5: \")\"", 5},
        {"x := -1", at + " 3: \"-\"", 3},
        {"x := (1 + 2", ran_out, 0},
        {"while x do skip od", at + " 3: \"do\"", 3},
        {"while true do skip od", at + " 3: \"do\"", 3},
        {"while", ran_out, 0},
        {"skip; skip; skip; skip; skip od", at + " 10: \"od\"", 10},
        {"skip XyZ", at + " 2: \"XyZ\"", 2},
        {"skip; ;", at + " 3: \";\"", 3},
        {":= 1", at + " 1: \":=\"", 1},
        {"if x < 1 skip else skip fi", at + " 5: \"skip\"", 5},
        {"if x < 1 then skip; else skip fi", at + " 8: \"else\"", 8},
        {"if x < 1 then skip else skip od", at + " 9: \"od\"", 9},
        {"if x < 1 then skip else skip", ran_out, 0},
        {"while x < do skip od", at + " 4: \"do\"", 4},
        {"while (x + 1) do skip od", at + " 7: \"do\"", 7},
        {"while x < y < z do skip od", at + " 5: \"<\"", 5},
        {"while x < 1 do x := od", at + " 8: \"od\"", 8},
        {"while x < 1 do x :=", at + " 6: \"x\"", 6},  // the look-ahead finds no third token
    };
    for (const failure_case& c : cases) {
        const scannerpak::listoftoken tokens = scannerpak::scanner(c.text);
        scannerpak::listoftoken expected_left = nullptr;
        if (c.left_at > 0) {
            expected_left = tokens;
            for (int i = 1; i < c.left_at; ++i) {
                expected_left = expected_left->rest;
            }
        }
        std::string error;
        scannerpak::listoftoken left = scannerpak::scanner("skip");
        EXPECT_EQ(comtypes::creategb(tokens, &left, &error), nullptr) << c.text;
        EXPECT_EQ(error, c.message) << c.text;
        EXPECT_EQ(left, expected_left) << c.text;  // the very cell, not a copy

        // Without a text for the message nothing is written at all.
        scannerpak::listoftoken untouched = scannerpak::scanner("skip");
        const scannerpak::listoftoken before = untouched;
        EXPECT_EQ(comtypes::creategb(tokens, &untouched, nullptr), nullptr);
        EXPECT_EQ(untouched, before);
        // Without a list for the rest the message is still written.
        std::string alone;
        EXPECT_EQ(comtypes::creategb(tokens, nullptr, &alone), nullptr);
        EXPECT_EQ(alone, c.message);
    }
    const std::string message = at + " 3: \"od\"";
    EXPECT_EQ(message.size(), 40U);
}

TEST(Creategb, EmptyTokenListWritesNothing) {
    std::string error = "untouched";
    scannerpak::listoftoken left = scannerpak::scanner("skip");
    const scannerpak::listoftoken before = left;
    EXPECT_EQ(comtypes::creategb(nullptr, &left, &error), nullptr);
    EXPECT_EQ(error, "untouched");
    EXPECT_EQ(left, before);
}

// Depth of statement nesting: SCHLEIFE nodes on the leftmost path of bodies.
int loop_depth(comtypes::grbaum node) {
    int depth = 0;
    for (; node != nullptr; node = node->knoten()) {
        if (node->al == SCHLEIFE) {
            ++depth;
            node = node->knoten()->rest->rest;  // DOT leaf; its rest is the body
            node = node->rest;
        }
        if (comtypes::is_terminal_symbol(node->al)) {
            break;
        }
    }
    return depth;
}

TEST(Creategb, NestingUpToTheLimitParses) {
    using comtypes::nesting_limit;
    common::run_on_large_stack([] {
        const comtypes::grbaum loops =
            comtypes::creategb(scannerpak::scanner(nested_loops(nesting_limit)), nullptr, nullptr);
        ASSERT_NE(loops, nullptr);
        EXPECT_EQ(loop_depth(loops), nesting_limit);
        EXPECT_NE(
            comtypes::creategb(scannerpak::scanner(nested_parentheses(nesting_limit)), nullptr, nullptr),
            nullptr);
    });
}

TEST(Creategb, DeeperNestingRaisesStorageError) {
    using comtypes::nesting_limit;
    using namespace comtypes::places;
    // The place names the construct that went one level too deep.
    struct nesting_case {
        std::string text;
        common::place place;
    };
    const std::vector<nesting_case> cases = {
        {nested_loops(nesting_limit + 1), while_nesting},
        {nested_loops(10 * nesting_limit), while_nesting},
        {nested_ifs(nesting_limit + 1), if_nesting},
        {"if x<1 then " + nested_loops(nesting_limit) + " else skip fi", while_nesting},
        {nested_parentheses(nesting_limit + 1), parenthesis_nesting},
        {nested_parentheses(10 * nesting_limit), parenthesis_nesting},
    };
    for (const nesting_case& c : cases) {
        std::string error = "untouched";
        common::run_on_large_stack([&] {
            EXPECT_EQ(raised([&] { comtypes::creategb(scannerpak::scanner(c.text), nullptr, &error); }),
                      report(common::storage_error_name, c.place));
        });
        EXPECT_EQ(error, "untouched");  // never a parse message
    }
}

TEST(Creategb, LongStatementListIsReadInALoop) {
    constexpr int statements = 200'000;
    std::string text = "x:=1";
    for (int i = 1; i < statements; ++i) {
        text += ";x:=1";
    }
    int chain = 0;
    // A small stack: one level of recursion per statement would not fit.
    common::run_on_large_stack(
        [&] {
            const comtypes::grbaum root = comtypes::creategb(scannerpak::scanner(text), nullptr, nullptr);
            ASSERT_NE(root, nullptr);
            // The list is a right-nested chain: ANW, ";" and the next ANWF.
            for (comtypes::grbaum anwf = root->knoten(); anwf != nullptr;) {
                ASSERT_EQ(anwf->al, ANWF);
                ++chain;
                const comtypes::grbaum anw = anwf->knoten();
                ASSERT_EQ(anw->al, ANW);
                if (anw->rest == nullptr) {
                    break;
                }
                ASSERT_EQ(anw->rest->al, SEMIKOLONT);
                ASSERT_EQ(anw->rest->rest->rest, nullptr);
                anwf = anw->rest->rest;
            }
        },
        std::size_t{1} << 20);
    EXPECT_EQ(chain, statements);
}

}  // namespace
