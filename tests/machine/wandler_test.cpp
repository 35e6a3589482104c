// Conversion of the grammar tree into abstract syntax and the start stack.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "machine/baumwandler_package.hpp"
#include "tests/support/raised.hpp"
#include "tests/support/while_tree.hpp"

namespace {

using namespace baumwandler_package;
using test_support::grammar_tree;
using test_support::raised;
using test_support::report;

constexpr const char* operator_names[] = {"PLUS", "MINUS", "MAL", "DIV", "MODULO"};
constexpr const char* comparison_names[] = {"KL", "GL", "GR", "KG", "UG", "GG"};

// The shapes below are written as: numbers and names as they stand,
// "(l OP r)" for an operation, "l ROP r" for a comparison, "[s; s]" for a list.
std::string form(ausdruck e) {
    if (e == nullptr) {
        return "null";
    }
    switch (e->form) {
        case ausdrucks_art::ZAHL:
            return std::to_string(e->zahl_wert());
        case ausdrucks_art::NAME:
            return std::string(e->name_wert());
        case ausdrucks_art::VERKN:
            return "(" + form(e->links_ausdruck()) + " " +
                   operator_names[static_cast<int>(e->operator_wert())] + " " + form(e->rechts_ausdruck()) +
                   ")";
    }
    return "?";
}

std::string form(bedingung b) {
    if (b->form == bedingungs_art::WAHR) {
        return b->wahr_wert() ? "true" : "false";
    }
    return form(b->links_ausdruck()) + " " + comparison_names[static_cast<int>(b->vergleichs_wert())] + " " +
           form(b->rechts_ausdruck());
}

std::string form(anweisung_f l);

std::string form(anweisung s) {
    switch (s->form) {
        case anweisungs_art::FALL:
            return "if " + form(s->bedingungs_wert_fall()) + " then " + form(s->erst_anweisung_fall()) +
                   " else " + form(s->zweit_anweisung_fall());
        case anweisungs_art::SCHLEIFE:
            return "while " + form(s->bedingungs_wert_schleife()) + " do " +
                   form(s->erst_anweisung_schleife());
        case anweisungs_art::SKIP:
            return "skip";
        case anweisungs_art::ZUWEISUNG:
            return std::string(s->zuweisungs_name()) + " := " + form(s->links_ausdruck());
    }
    return "?";
}

std::string form(anweisung_f l) {
    std::string out = "[";
    for (anweisung_f c = l; c != nullptr; c = c->rest) {
        out += (c == l ? "" : "; ") + form(c->anw);
    }
    return out + "]";
}

struct shape_case {
    const char* program;
    const char* shape;
};

TEST(BaumWandler, ProgramBecomesOneStackCellHoldingItsStatementList) {
    const shape_case cases[] = {
        {"x := 1; while x > 0 do x := (x - 1) od", "[x := 1; while x GR 0 do [x := (x MINUS 1)]]"},
        {"x := 2147483647", "[x := 2147483647]"},
        {"x := 007", "[x := 7]"},
        {"x := (a div b); y := (a mod b); z := ((1 + 2) * (3 - 4))",
         "[x := (a DIV b); y := (a MODULO b); z := ((1 PLUS 2) MAL (3 MINUS 4))]"},
        {"if a >= b then skip else skip fi; if a /= b then skip else skip fi",
         "[if a GG b then [skip] else [skip]; if a UG b then [skip] else [skip]]"},
        {"if x < 1 then skip else x := 1; y := 2 fi", "[if x KL 1 then [skip] else [x := 1; y := 2]]"},
    };
    for (const auto& c : cases) {
        const teile stack = baum_wandler(grammar_tree(c.program));
        ASSERT_NE(stack, nullptr) << c.program;
        EXPECT_EQ(stack->rest, nullptr) << c.program;
        ASSERT_EQ(stack->t->form, teil_arten::ANW_F) << c.program;
        EXPECT_EQ(form(stack->t->teil_anw_f()), c.shape) << c.program;
    }
}

TEST(BaumWandler, EveryCallBuildsRecordsOfItsOwn) {
    const comtypes::grbaum b = grammar_tree("skip; skip");
    const anweisung_f first = baum_wandler(b)->t->teil_anw_f();
    const anweisung_f second = baum_wandler(b)->t->teil_anw_f();
    EXPECT_NE(first, second);
    EXPECT_NE(first->anw, first->rest->anw);  // two separate SKIP records
    EXPECT_EQ(first->rest->rest, nullptr);
}

// numbers collects the numbers of the expressions, conditions and list cells
// of a converted list.
void numbers(anweisung_f l, std::vector<record_id>& out);

void numbers(ausdruck e, std::vector<record_id>& out) {
    out.push_back(e->id);
    if (e->form == ausdrucks_art::VERKN) {
        numbers(e->links_ausdruck(), out);
        numbers(e->rechts_ausdruck(), out);
    }
}

void numbers(bedingung b, std::vector<record_id>& out) {
    out.push_back(b->id);
    if (b->form == bedingungs_art::VERGLEICH) {
        numbers(b->links_ausdruck(), out);
        numbers(b->rechts_ausdruck(), out);
    }
}

void numbers(anweisung_f l, std::vector<record_id>& out) {
    for (anweisung_f c = l; c != nullptr; c = c->rest) {
        out.push_back(c->id);
        const anweisung s = c->anw;
        switch (s->form) {
            case anweisungs_art::FALL:
                numbers(s->bedingungs_wert_fall(), out);
                numbers(s->erst_anweisung_fall(), out);
                numbers(s->zweit_anweisung_fall(), out);
                break;
            case anweisungs_art::SCHLEIFE:
                numbers(s->bedingungs_wert_schleife(), out);
                numbers(s->erst_anweisung_schleife(), out);
                break;
            case anweisungs_art::ZUWEISUNG:
                numbers(s->links_ausdruck(), out);
                break;
            case anweisungs_art::SKIP:
                break;
        }
    }
}

// Every expression, condition and list cell that a conversion makes has a
// number that no other record has, also when a later conversion takes the
// storage of an earlier one; a record made by hand has none.
TEST(BaumWandler, EveryRecordHasANumberOfItsOwn) {
    const comtypes::grbaum b =
        grammar_tree("x := (1 + y); if x < 2 then skip else while x > 0 do x := 3 od fi; skip");
    std::vector<record_id> all;
    const common::arena_mark before = common::arena_position();
    const anweisung_f first = baum_wandler(b)->t->teil_anw_f();
    numbers(first, all);
    EXPECT_EQ(all.size(), 16U);  // 6 list cells, 2 conditions, 8 expressions
    common::rewind_arena(before);
    const anweisung_f second = baum_wandler(b)->t->teil_anw_f();
    ASSERT_EQ(second, first) << "the second conversion takes the storage of the first";
    numbers(second, all);
    std::sort(all.begin(), all.end());
    EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end());
    EXPECT_NE(all.front(), 0U);
    EXPECT_EQ(common::make<ausdruck_rec>(ausdrucks_art::ZAHL)->id, 0U);
    EXPECT_EQ(common::make<bedingung_rec>(bedingungs_art::WAHR)->id, 0U);
    EXPECT_EQ(common::make<anweisung_f_rec>()->id, 0U);
}

// The converted program holds nothing of the tree: a run may outlive the
// tree's texts, and each name is a copy of its own.
TEST(BaumWandler, NamesAreCopiesApartFromTheTree) {
    const comtypes::grbaum b = grammar_tree("x := (x + 1)");
    const comtypes::grbaum assignment = b->knoten()->knoten()->knoten();
    const comtypes::grbaum target = assignment->knoten();
    const comtypes::grbaum read = target->rest->rest->knoten()->rest->knoten();
    ASSERT_EQ(read->al, comtypes::alphabet::NAMET);
    const anweisung s = baum_wandler(b)->t->teil_anw_f()->anw;
    const name_ref target_name = s->zuweisungs_name();
    const name_ref read_name = s->links_ausdruck()->links_ausdruck()->name_wert();
    EXPECT_EQ(target_name, "x");
    EXPECT_EQ(read_name, "x");
    EXPECT_NE(target_name.view().data(), read_name.view().data());
    EXPECT_NE(target_name.view().data(), std::string_view(target->exp()).data());
    EXPECT_NE(read_name.view().data(), std::string_view(read->exp()).data());
}

TEST(BaumWandler, NumberBeyond32BitsRaisesTheCheckError) {
    const comtypes::grbaum b = grammar_tree("x := 1; y := 2147483648");
    EXPECT_EQ(raised([&] { (void)baum_wandler(b); }),
              report(common::check_error_name, places::number_beyond_32_bits));  // velkor's report prints it
}

TEST(BaumWandler, OtherNodesGiveNothingAndANullTreeFails) {
    using comtypes::alphabet;
    const auto bed = common::make<comtypes::grknoten>(alphabet::BEDINGUNG);
    bed->knoten() = common::make<comtypes::grknoten>(alphabet::AUSDRUCK);
    EXPECT_EQ(ausdruck_wandler(bed), nullptr);
    const comtypes::grbaum program = grammar_tree("skip");
    const comtypes::grbaum anw = program->knoten()->knoten();
    ASSERT_EQ(anw->al, alphabet::ANW);
    EXPECT_EQ(anw_wandler(anw), nullptr);
    EXPECT_EQ(baum_wandler(program->knoten()), nullptr);
    EXPECT_THROW((void)baum_wandler(nullptr), common::named_error);
}

TEST(BaumWandler, LongStatementListsConvertWithoutDeepRecursion) {
    std::string program = "skip";
    for (int i = 0; i < 200000; ++i) {
        program += "; skip";
    }
    int count = 0;
    for (anweisung_f c = baum_wandler(grammar_tree(program))->t->teil_anw_f(); c != nullptr; c = c->rest) {
        ++count;
    }
    EXPECT_EQ(count, 200001);
}

TEST(OptWandler, TextsMapToOperatorsAndComparisons) {
    const struct {
        const char* text;
        operator_ op;
    } ops[] = {{"+", operator_::PLUS},     {"-", operator_::MINUS},    {"*", operator_::MAL},
               {"div", operator_::DIV},    {"Div", operator_::DIV},    {"mod", operator_::MODULO},
               {"DIV", operator_::MODULO}, {"Mod", operator_::MODULO}, {"", operator_::MODULO}};
    for (const auto& c : ops) {
        EXPECT_EQ(opt_wandler(c.text), c.op) << '"' << c.text << '"';
    }
    const struct {
        const char* text;
        vergleicher rop;
    } rops[] = {{"<", vergleicher::KL},  {"=", vergleicher::GL},  {">", vergleicher::GR},
                {"<=", vergleicher::KG}, {"/=", vergleicher::UG}, {">=", vergleicher::GG},
                {"", vergleicher::GG}};
    for (const auto& c : rops) {
        EXPECT_EQ(ropt_wandler(c.text), c.rop) << '"' << c.text << '"';
    }
}

}  // namespace
