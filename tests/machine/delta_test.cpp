// The machine step: rule lines, rule sequences of whole runs, the three
// in-place changes, and failures with or without their rule line.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "tests/machine/machine_support.hpp"
#include "tests/support/capture.hpp"
#include "tests/support/machine_parts.hpp"
#include "tests/support/raised.hpp"

namespace {

using namespace baumwandler_package;
using namespace test_support;
using machine_tests::rule_numbers;
using machine_tests::run_steps;
using machine_tests::words;

// x_holding returns the environment x holding `n`.
umgebung x_holding(std::int32_t n) {
    return common::make<umgebung_rec>(variable{"x", wert{n}});
}

// if_on builds if <truth value> then skip else skip fi.
anweisung if_on(bool v) {
    const anweisung s = common::make<anweisung_rec>(anweisungs_art::FALL);
    s->bedingungs_wert_fall() = truth(v);
    s->erst_anweisung_fall() = statements("skip");
    s->zweit_anweisung_fall() = statements("skip");
    return s;
}

// ---- Rule lines ----

TEST(Delta2, EachRuleWritesALineEndAndThenItsLine) {
    const teile body = push(anw_f(statements("skip")));
    const struct {
        zustand z;
        const char* line;
    } cases[] = {
        {active(nullptr, nullptr, push(ausdr(expression("7")))), "-- (1 : Zahl lesen) --"},
        {active(x_holding(5), nullptr, push(ausdr(expression("x")))),
         "-- (2 : Variable lesen, Wert aus Umgebung)--"},
        {active(nullptr, nullptr, push(ausdr(expression("(1 + 2)")))), "-- (3 : Verknuepfung aufloesen)--"},
        {active(nullptr, push(zwert(2), push(zwert(1))), push(op(operator_::PLUS))),
         "-- (4 : Arithmetische Operation)--"},
        {active(nullptr, nullptr, push(bed(truth(false)))), "-- (5 : Wahrheitswert lesen)--"},
        {active(nullptr, nullptr, push(bed(condition("x > 0")))), "-- (6 : Bedingung aufloesen)--"},
        {active(nullptr, push(zwert(2), push(zwert(1))), push(rop(vergleicher::KL))),
         "-- (7 : Vergleichsoperation)--"},
        {active(nullptr, nullptr, push(anw(first_statement("skip")))), "-- (8 : Skipanweisung)--"},
        {active(nullptr, nullptr, push(anw(first_statement("x := 1")))), "-- (9 : Zuweisung aufloesen)--"},
        {active(x_holding(0), push(zwert(4)), push(part(teil_arten::ZUW), push(bez("x")))),
         "-- (10 : Zuweisung ausfuehren)--"},
        {active(nullptr, nullptr, push(anw_f(statements("skip")))),
         "-- (11 : nichtleere Anweisungsfolge aufloesen)--"},
        {active(nullptr, nullptr, push(anw_f(nullptr))), "-- (11' : leere Anweisungsfolge aufloesen)--"},
        {active(nullptr, nullptr, push(anw(if_on(true)))), "-- (12 : If-Anweisung aufloesen)--"},
        {active(nullptr, push(wwert(true)),
                push(part(teil_arten::IF_CASE), push(anw_f(nullptr), push(anw_f(nullptr))))),
         "-- (13 : If-Anweisung True-Fall)--"},
        {active(nullptr, push(wwert(false)),
                push(part(teil_arten::IF_CASE), push(anw_f(nullptr), push(anw_f(nullptr))))),
         "-- (14 : If-Anweisung False-Fall)--"},
        {active(nullptr, nullptr, push(anw(first_statement("while x > 0 do skip od")))),
         "-- (15 : Schleife aufloesen)--"},
        {active(nullptr, push(wwert(true)),
                push(part(teil_arten::DO_CASE), push(bed(condition("x > 0")), body))),
         "-- (16 : Schleifenbedingung True)--"},
        {active(nullptr, push(wwert(false)),
                push(part(teil_arten::DO_CASE), push(bed(condition("x > 0")), body))),
         "-- (17 : Schleifenbedingung False)--"},
        {active(nullptr, nullptr, nullptr), "-- (Ende der Auswertung)--"},
    };
    for (const auto& c : cases) {
        const auto out = into_file([&](common::text_writer& ft) { (void)delta2_ft(c.z, ft); });
        EXPECT_EQ(out.error, "") << c.line;
        EXPECT_EQ(out.text, std::string("\n") + c.line + "\n");
    }
}

TEST(Delta2, OneAssignmentRunsInSixStepsWithTheirExactLines) {
    zustand end;
    const auto out = into_file([&](common::text_writer& ft) { end = run_steps(start("x := 1"), ft); });
    EXPECT_EQ(out.text,
              "\n-- (11 : nichtleere Anweisungsfolge aufloesen)--\n"
              "\n-- (9 : Zuweisung aufloesen)--\n"
              "\n-- (1 : Zahl lesen) --\n"
              "\n-- (10 : Zuweisung ausfuehren)--\n"
              "\n-- (11' : leere Anweisungsfolge aufloesen)--\n"
              "\n-- (Ende der Auswertung)--\n");
    ASSERT_EQ(end.form, zustand_arten::ENDE);
    EXPECT_EQ(end.ende_zustand()->elem.variable_wert.zahl_wert(), 1);
}

// ---- Whole runs ----

std::string store(umgebung u) {
    std::ostringstream out;
    for (; u != nullptr; u = u->next) {
        out << (out.tellp() > 0 ? ", " : "") << u->elem.variable_name.view() << "=";
        if (ist_undef(u->elem.variable_wert)) {
            out << "undef";
        } else {
            out << u->elem.variable_wert.zahl_wert();
        }
    }
    return out.str();
}

const std::string loop_turn = "15 6 2 1 7 16 11 9 3 2 1 4 10 11' ";

TEST(Delta2, RunsFollowTheRuleSequencesOfTheirPrograms) {
    const struct {
        const char* program;
        std::string rules;
        const char* store;
    } cases[] = {
        {"x := 2; while x > 0 do x := (x - 1) od",
         "11 9 1 10 11 " + loop_turn + loop_turn + "15 6 2 1 7 17 11' end", "x=0"},
        {"x := ((1 + 2) * (3 + 4))", "11 9 3 3 1 1 4 3 1 1 4 4 10 11' end", "x=21"},
        {"x := 5; y := (x - 3)", "11 9 1 10 11 9 3 2 1 4 10 11' end", "y=2, x=5"},
        {"x := (4 - 10); y := (7 div 2)", "11 9 3 1 1 4 10 11 9 3 1 1 4 10 11' end", "y=3, x=-6"},
        {"if 1 < 2 then x := 1 else x := 2 fi", "11 12 6 1 1 7 13 11 9 1 10 11' 11' end", "x=1"},
        {"if 3 < 2 then x := 1 else x := 2 fi", "11 12 6 1 1 7 14 11 9 1 10 11' 11' end", "x=2"},
        {"y := 0; if y > 0 then x := (x + 1) else x := 1 fi",
         "11 9 1 10 11 12 6 2 1 7 14 11 9 1 10 11' 11' end", "x=1, y=0"},
        {"while 1 > 2 do skip od", "11 15 6 1 1 7 17 11' end", ""},
        {"skip", "11 8 11' end", ""},
    };
    for (const auto& c : cases) {
        zustand end;
        const auto out = into_file([&](common::text_writer& ft) { end = run_steps(start(c.program), ft); });
        EXPECT_EQ(out.error, "") << c.program;
        EXPECT_EQ(rule_numbers(out.text), words(c.rules)) << c.program;
        ASSERT_EQ(end.form, zustand_arten::ENDE) << c.program;
        EXPECT_EQ(store(end.ende_zustand()), c.store) << c.program;
    }
}

TEST(Delta2, IfWithATruthValueTakesEitherBranch) {
    for (const bool v : {true, false}) {
        const auto out = into_file([&](common::text_writer& ft) {
            (void)run_steps(active(nullptr, nullptr, push(anw_f(common::make<anweisung_f_rec>(if_on(v))))),
                            ft);
        });
        EXPECT_EQ(rule_numbers(out.text),
                  words(v ? "11 12 5 13 11 8 11' 11' end" : "11 12 5 14 11 8 11' 11' end"));
    }
}

TEST(Delta2, ScreenRunWritesWhatTheFileRunWritesAndTheFileRunNothingOnScreen) {
    const char* program = "x := 1; while x > 0 do x := (x - 1) od";
    std::string file;
    const auto screen_of_file_run = on_screen([&] {
        file = into_file([&](common::text_writer& ft) { (void)run_steps(start(program), ft); }).text;
    });
    EXPECT_EQ(screen_of_file_run.text, "");
    const auto screen = on_screen([&] {
        zustand z = start(program);
        while (z.form == zustand_arten::AKT) {
            z = delta2(z);
        }
    });
    EXPECT_EQ(screen.text, file);
    EXPECT_EQ(rule_numbers(file).size(), 27U);  // 5 + 14 for the turn + 8 for the exit, end line included
}

// ---- Failures ----

TEST(Delta2, FailingRunsStopWithTheRuleLineWrittenFirst) {
    const struct {
        const char* program;
        const char* rules;
        common::place error;  // of the check error
    } cases[] = {
        {"x := (x + 1)", "11 9 3 2", places::wert},
        {"x := true", "11 9 2", places::wert},
        {"x := (2147483647 + 1)", "11 9 3 1 1 4", places::plus},
        {"x := (0 - 2147483647); x := (x - 2)", "11 9 3 1 1 4 10 11 9 3 2 1 4", places::minus},
        {"x := (65536 * 32768)", "11 9 3 1 1 4", places::mal},
        {"x := (1 div 0)", "11 9 3 1 1 4", places::div},
        {"x := (1 mod 0)", "11 9 3 1 1 4", places::modulo},
    };
    for (const auto& c : cases) {
        const auto out = into_file([&](common::text_writer& ft) { (void)run_steps(start(c.program), ft); });
        EXPECT_EQ(out.error, report(common::check_error_name, c.error)) << c.program;
        EXPECT_EQ(rule_numbers(out.text), words(c.rules)) << c.program;
        EXPECT_EQ(out.text.back(), '\n') << c.program;  // the rule line is whole
    }
}

TEST(Delta2, GuardsBeforeOrAfterTheRuleLine) {
    const struct {
        const char* what;
        zustand z;
        const char* text;
    } cases[] = {
        {"13/14 without a truth value",
         active(nullptr, nullptr, push(part(teil_arten::IF_CASE), push(anw_f(nullptr)))), "\n"},
        {"13/14 on a number",
         active(nullptr, push(zwert(1)), push(part(teil_arten::IF_CASE), push(anw_f(nullptr)))), "\n"},
        {"16/17 without a truth value", active(nullptr, nullptr, push(part(teil_arten::DO_CASE))), "\n"},
        {"10 without a value", active(x_holding(0), nullptr, push(part(teil_arten::ZUW), push(bez("x")))),
         "\n-- (10 : Zuweisung ausfuehren)--\n"},
        {"10 without a name below",
         active(x_holding(0), push(zwert(1)), push(part(teil_arten::ZUW), push(zwert(1)))),
         "\n-- (10 : Zuweisung ausfuehren)--\n"},
        {"4 with one operand", active(nullptr, push(zwert(1)), push(op(operator_::PLUS))),
         "\n-- (4 : Arithmetische Operation)--\n"},
        {"7 on a truth value", active(nullptr, push(zwert(1), push(wwert(true))), push(rop(vergleicher::GL))),
         "\n-- (7 : Vergleichsoperation)--\n"},
        {"null expression", active(nullptr, nullptr, push(part(teil_arten::AUSDR))), "\n"},
        {"an end state", zustand{}, "\n-- (Ende der Auswertung)--\n"},
    };
    for (const auto& c : cases) {
        const auto out = into_file([&](common::text_writer& ft) { (void)delta2_ft(c.z, ft); });
        EXPECT_TRUE(out.error.starts_with(report_in(common::check_error_name, module_name)))
            << c.what << ": " << out.error;
        EXPECT_EQ(out.text, c.text) << c.what;
    }
    const auto end = into_file([&](common::text_writer& ft) { (void)delta2_ft(zustand{}, ft); });
    EXPECT_EQ(end.error, report(common::check_error_name, places::zustand));
}

TEST(Delta2, PartWithoutRuleComesBackUnchangedAfterItsLineEnd) {
    for (const teil t : {bez("x"), zwert(3), wwert(false)}) {
        const zustand z = active(x_holding(1), push(zwert(9)), push(t));
        zustand r;
        const auto out = into_file([&](common::text_writer& ft) { r = delta2_ft(z, ft); });
        EXPECT_EQ(out.text, "\n");
        ASSERT_EQ(r.form, zustand_arten::AKT);
        EXPECT_EQ(r.akt_zustand().zk, z.akt_zustand().zk);
        EXPECT_EQ(r.akt_zustand().wk, z.akt_zustand().wk);
        EXPECT_EQ(r.akt_zustand().um, z.akt_zustand().um);
    }
}

// ---- What a step changes ----

// reach describes every cell, part and value that a state reaches through its
// stacks and environment, by address and content.
std::string reach(const zustand& z) {
    std::ostringstream out;
    const konfiguration& k = z.akt_zustand();
    for (const teile stack : {k.wk, k.zk}) {
        for (teile c = stack; c != nullptr; c = c->rest) {
            out << c << ">" << c->rest << ":" << c->t << "/" << static_cast<int>(c->t->form);
            switch (c->t->form) {
                case teil_arten::ANW_F:
                    out << "=" << c->t->teil_anw_f();
                    break;
                case teil_arten::ZWERT:
                    out << "=" << c->t->teil_zwert();
                    break;
                default:
                    break;
            }
            out << " ";
        }
        out << "| ";
    }
    out << store(k.um);
    return out.str();
}

TEST(Delta2, OnlyRules10And11And13ChangeWhatTheGivenStateReaches) {
    for (const char* program :
         {"x := 2; while x > 0 do x := (x - 1) od",
          "if 1 < 2 then x := (3 * 4) else skip fi; if 2 < 1 then skip else y := 1 fi"}) {
        zustand z = start(program);
        for (int steps = 0; z.form == zustand_arten::AKT && steps < 1000; ++steps) {
            const std::string before = reach(z);
            zustand next;
            const auto out = into_file([&](common::text_writer& ft) { next = delta2_ft(z, ft); });
            const auto rule = rule_numbers(out.text);
            ASSERT_EQ(rule.size(), 1U) << program;
            if (rule[0] == "10" || rule[0] == "11" || rule[0] == "13") {
                EXPECT_NE(reach(z), before) << program << ", rule " << rule[0];
            } else {
                EXPECT_EQ(reach(z), before) << program << ", rule " << rule[0];
            }
            z = next;
        }
        EXPECT_EQ(z.form, zustand_arten::ENDE) << program;
    }
}

zustand one_step(const zustand& z) {
    zustand next;
    (void)into_file([&](common::text_writer& ft) { next = delta2_ft(z, ft); });
    return next;
}

TEST(Delta2, Rule11AdvancesThePartAndLeavesTheListCells) {
    const anweisung_f l = statements("skip; x := 1");
    const anweisung_f second = l->rest;
    const teil t = anw_f(l);
    const zustand z = active(nullptr, nullptr, push(t));
    const zustand next = one_step(z);
    EXPECT_EQ(t->teil_anw_f(), second);
    EXPECT_EQ(l->rest, second);
    EXPECT_EQ(second->rest, nullptr);
    const teile zk = next.akt_zustand().zk;
    EXPECT_EQ(zk->t->teil_anw(), l->anw);
    EXPECT_EQ(zk->rest, z.akt_zustand().zk);  // the same cell, below the new part
}

TEST(Delta2, Rule13UnlinksTheElseCellInPlace) {
    const teile below = push(part(teil_arten::ZUW));
    const teile else_cell = push(anw_f(nullptr), below);
    const teile then_cell = push(anw_f(nullptr), else_cell);
    const teile wk = push(wwert(true), push(zwert(8)));
    const zustand next = one_step(active(nullptr, wk, push(part(teil_arten::IF_CASE), then_cell)));
    EXPECT_EQ(next.akt_zustand().zk, then_cell);
    EXPECT_EQ(then_cell->rest, below);
    EXPECT_EQ(else_cell->rest, below);
    EXPECT_EQ(next.akt_zustand().wk, wk->rest);
}

TEST(Delta2, Rule10StoresInTheSharedEnvironment) {
    const umgebung um = x_holding(0);
    const zustand z = active(um, push(zwert(4)), push(part(teil_arten::ZUW), push(bez("x"))));
    const zustand next = one_step(z);
    EXPECT_EQ(next.akt_zustand().um, um);
    EXPECT_EQ(z.akt_zustand().um->elem.variable_wert.zahl_wert(), 4);
    EXPECT_EQ(next.akt_zustand().wk, nullptr);
    EXPECT_EQ(next.akt_zustand().zk, nullptr);
}

TEST(Delta2, EndStateCarriesTheEnvironmentListItself) {
    const umgebung um = x_holding(3);
    const zustand end = one_step(active(um, push(zwert(1)), nullptr));
    ASSERT_EQ(end.form, zustand_arten::ENDE);
    EXPECT_EQ(end.ende_zustand(), um);
}

TEST(Delta2, Rule16BuildsANewLoopOfTheSameConditionAndBody) {
    const anweisung loop = first_statement("while x > 0 do skip od");
    const teil b = part(teil_arten::BED);
    b->teil_bed() = loop->bedingungs_wert_schleife();
    const teile rest = push(part(teil_arten::ZUW));
    const zustand z =
        active(nullptr, push(wwert(true)),
               push(part(teil_arten::DO_CASE), push(b, push(anw_f(loop->erst_anweisung_schleife()), rest))));
    const teile zk = one_step(z).akt_zustand().zk;
    ASSERT_EQ(zk->t->form, teil_arten::ANW_F);
    EXPECT_NE(zk->t, z.akt_zustand().zk->rest->rest->t);  // a new part: rule 11 will advance it
    EXPECT_EQ(zk->t->teil_anw_f(), loop->erst_anweisung_schleife());
    const anweisung new_loop = zk->rest->t->teil_anw();
    EXPECT_NE(new_loop, loop);
    EXPECT_EQ(new_loop->bedingungs_wert_schleife(), loop->bedingungs_wert_schleife());
    EXPECT_EQ(new_loop->erst_anweisung_schleife(), loop->erst_anweisung_schleife());
    EXPECT_EQ(zk->rest->rest, rest);
}

TEST(Delta2, Rule15KeepsTheConditionInASecondPartOfItsOwn) {
    const anweisung loop = first_statement("while x > 0 do skip od");
    const teile rest = push(part(teil_arten::ZUW));
    const teile zk = one_step(active(nullptr, nullptr, push(anw(loop), rest))).akt_zustand().zk;
    const teile second_condition = zk->rest->rest;
    ASSERT_EQ(zk->t->form, teil_arten::BED);
    EXPECT_EQ(zk->rest->t->form, teil_arten::DO_CASE);
    ASSERT_EQ(second_condition->t->form, teil_arten::BED);
    EXPECT_NE(zk->t, second_condition->t);
    EXPECT_EQ(zk->t->teil_bed(), loop->bedingungs_wert_schleife());
    EXPECT_EQ(second_condition->t->teil_bed(), loop->bedingungs_wert_schleife());
    EXPECT_EQ(second_condition->rest->t->teil_anw_f(), loop->erst_anweisung_schleife());
    EXPECT_EQ(second_condition->rest->rest, rest);
}

}  // namespace
