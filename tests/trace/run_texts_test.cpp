// A trace run copies the texts of its program's records from one rendering
// made at its start (run_texts); the plain rendering makes every text anew
// and is the definition. These tests run large generated programs step by
// step and compare the two on every configuration, and the whole trace of
// machetrace with one written by the plain renderers.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "common/textio.hpp"
#include "tests/support/capture.hpp"
#include "tests/support/machine_parts.hpp"
#include "tests/support/raised.hpp"
#include "tests/support/rendered.hpp"
#include "tests/support/while_programs.hpp"
#include "trace/machetrace.hpp"
#include "trace/zeige.hpp"

namespace {

using namespace test_support;

// odd_records gives a converted program what its text cannot write: some
// numbers negative, and some conditions truth values (a loop's false, so
// that it ends).
class odd_records {
public:
    explicit odd_records(unsigned seed) : random_(seed) {}

    void list(bp::anweisung_f l) {
        for (; l != nullptr; l = l->rest) {
            statement(*l->anw);
        }
    }

private:
    bool now() { return random_() % 4 == 0; }

    void statement(bp::anweisung_rec& s) {
        switch (s.form) {
            case bp::anweisungs_art::FALL:
                if (now()) {
                    s.bedingungs_wert_fall() = truth(now());
                } else {
                    condition(*s.bedingungs_wert_fall());
                }
                list(s.erst_anweisung_fall());
                list(s.zweit_anweisung_fall());
                return;
            case bp::anweisungs_art::SCHLEIFE:
                if (now()) {
                    s.bedingungs_wert_schleife() = truth(false);
                }
                list(s.erst_anweisung_schleife());
                return;
            case bp::anweisungs_art::ZUWEISUNG:
                expression(*s.links_ausdruck());
                return;
            case bp::anweisungs_art::SKIP:
                return;
        }
    }

    void condition(bp::bedingung_rec& b) {
        expression(*b.links_ausdruck());
        expression(*b.rechts_ausdruck());
    }

    void expression(bp::ausdruck_rec& e) {
        if (e.form == bp::ausdrucks_art::ZAHL && now()) {
            e.zahl_wert() = -1 - e.zahl_wert();
        } else if (e.form == bp::ausdrucks_art::VERKN) {
            expression(*e.links_ausdruck());
            expression(*e.rechts_ausdruck());
        }
    }

    std::mt19937 random_;
};

// fast renders `k` with the texts of the run `texts` at hand, plain with none.
std::string fast(bp::run_texts& texts, const bp::konfiguration& k) {
    return text_of(bp::zeige_konf, k, &texts);
}
std::string plain(const bp::konfiguration& k) {
    return text_of(bp::zeige_konf, k);
}

struct run_result {
    long configurations = 0;  // compared
    bool ended = false;       // reached the end state
    bool failed = false;      // a step failed
};

// compare_run steps `z` at most `limit` times and compares the two texts of
// every configuration and of the final store. A failing step ends the run.
run_result compare_run(bp::zustand z, long limit, const std::string& what) {
    common::out_file rule_lines;  // not looked at
    rule_lines.create("");
    bp::run_texts texts(z.akt_zustand());
    run_result result;
    try {
        for (; result.configurations < limit && z.form == bp::zustand_arten::AKT; ++result.configurations) {
            const std::string definition = plain(z.akt_zustand());
            const std::string copied = fast(texts, z.akt_zustand());
            if (copied != definition) {
                ADD_FAILURE() << what << ", configuration " << result.configurations << "\n  fast: " << copied
                              << "\n  definition: " << definition;
                return result;
            }
            z = bp::delta2_ft(z, rule_lines);
        }
    } catch (const common::named_error& e) {
        EXPECT_TRUE(e.is(common::check_error_name)) << what << ": " << e.name();
        result.failed = true;
        return result;
    }
    if (z.form == bp::zustand_arten::ENDE) {
        result.ended = true;
        EXPECT_EQ(text_of(bp::zeige_vars, z.ende_zustand(), &texts),
                  text_of(bp::zeige_vars, z.ende_zustand()))
            << what;
    }
    return result;
}

TEST(RunTexts, AgreeWithThePlainRenderingOnGeneratedRuns) {
    long configurations = 0;
    int ended = 0;
    int failed = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        program_generator generator(seed);
        // Short deep programs and long flat ones, one list of 400 statements.
        const std::string text = seed == 1 ? generator.program(400, 1) : generator.program(8 + seed % 5, 4);
        ASSERT_NE(grammar_tree(text), nullptr) << text;
        bp::zustand z = start(text);
        if (seed % 2 == 0) {
            odd_records(seed).list(z.akt_zustand().zk->t->teil_anw_f());
        }
        const run_result r = compare_run(z, 2500, "seed " + std::to_string(seed));
        if (HasFailure()) {
            return;
        }
        configurations += r.configurations;
        ended += r.ended ? 1 : 0;
        failed += r.failed ? 1 : 0;
    }
    // The runs say something: many lines, and both ways of ending.
    EXPECT_GT(configurations, 25000);
    EXPECT_GT(ended, 0);
    EXPECT_GT(failed, 0);
}

// A configuration that shares records in odd ways: a statement in two lists,
// a list shared as the tail of another, a cell made by hand, records that
// the texts of another run hold too, and a loop statement made after the
// start.
TEST(RunTexts, SharedRecordsAndRecordsMadeLater) {
    const bp::anweisung_f program =
        statements("x := (1 - 2); while x < 3 do if x = 1 then skip else x := (x + 1) fi od; y := x");
    const bp::anweisung_f second = program->rest;
    auto* shared = common::make<bp::anweisung_f_rec>(program->anw, second);  // shares a statement and a tail
    const bp::konfiguration start{nullptr, nullptr, push(anw_f(shared), push(anw_f(program)))};

    bp::run_texts first_texts(start);
    bp::run_texts second_texts(start);  // of the same records, apart from the first
    EXPECT_EQ(fast(second_texts, start), plain(start));
    EXPECT_EQ(fast(first_texts, start), plain(start));

    // Rule 16's statement: the loop's condition and body in a new record.
    const bp::anweisung old_loop = second->anw;
    auto* new_loop = common::make<bp::anweisung_rec>(bp::anweisungs_art::SCHLEIFE);
    new_loop->bedingungs_wert_schleife() = old_loop->bedingungs_wert_schleife();
    new_loop->erst_anweisung_schleife() = old_loop->erst_anweisung_schleife();
    const bp::teil loop = anw(new_loop);
    const bp::teil body = anw_f(old_loop->erst_anweisung_schleife()->rest);  // past its end: the empty list
    const bp::konfiguration later{nullptr, push(loop), push(body, push(loop, start.zk))};
    EXPECT_EQ(fast(second_texts, later), plain(later));
    EXPECT_EQ(fast(second_texts, later),
              "<<  ,  while (x< 3) do  if (x= 1) then skip else x:=(x+ 1) fi od  , "
              "[]& while (x< 3) do  if (x= 1) then skip else x:=(x+ 1) fi od &"
              "x:=( 1- 2); while (x< 3) do  if (x= 1) then skip else "
              "x:=(x+ 1) fi od ;y:=x&x:=( 1- 2); while (x< 3) do  if (x= 1) "
              "then skip else x:=(x+ 1) fi od ;y:=x >>");
}

// The texts of a run hold for its own records only: a later run's records,
// though they stand where the earlier run's stood once its storage was given
// back, are rendered anew; and so are the records of a start configuration
// put together from conversions far apart.
TEST(RunTexts, RecordsOfAnotherRunAreRenderedAnew) {
    const comtypes::grbaum early = grammar_tree("x := (1 + 2); while x < 3 do x := (x * 4) od");
    const comtypes::grbaum late = grammar_tree("y := (5 - 6); while y > 7 do y := (y div 8) od");
    const common::arena_mark before = common::arena_position();
    bp::konfiguration first_run = bp::start_state(early).akt_zustand();
    const bp::anweisung_f first_list = first_run.zk->t->teil_anw_f();
    bp::run_texts texts(first_run);
    const bp::konfiguration first_loop{nullptr, nullptr, push(anw(first_list->rest->anw))};
    EXPECT_EQ(fast(texts, first_run), plain(first_run));
    EXPECT_EQ(fast(texts, first_loop), "<<  ,  ,  while (x< 3) do x:=(x* 4) od  >>");  // copied, and kept
    common::rewind_arena(before);

    const bp::konfiguration second_run = bp::start_state(late).akt_zustand();
    ASSERT_EQ(second_run.zk->t->teil_anw_f(), first_list) << "the later run reuses the storage";
    const bp::konfiguration second_loop{nullptr, nullptr,
                                        push(anw(second_run.zk->t->teil_anw_f()->rest->anw))};
    EXPECT_EQ(fast(texts, second_run), "<< (y,_) ,  , y:=( 5- 6); while (y> 7) do y:=(y`div` 8) od  >>");
    EXPECT_EQ(fast(texts, second_loop), plain(second_loop));

    // Two conversions with many records made between them.
    const bp::anweisung_f one = statements("a := 1; while a < 2 do a := (a + 1) od");
    std::string long_program = "skip";
    for (int i = 0; i < 3000; ++i) {
        long_program += "; z := (z + 1)";
    }
    (void)statements(long_program);
    const bp::anweisung_f two = statements("b := 2; while b < 3 do b := (b + 1) od");
    const bp::konfiguration mixed{nullptr, nullptr, push(anw_f(one), push(anw_f(two)))};
    bp::run_texts far_apart(mixed);
    EXPECT_EQ(fast(far_apart, mixed),
              "<<  ,  , a:= 1; while (a< 2) do a:=(a+ 1) od &b:= 2; while (b< 3) do b:=(b+ 1) od  >>");
}

// A loop made of the condition of one loop of the program and the body of
// another is no loop of the program: its text is made from its parts, also
// right after the text of either loop was copied.
TEST(RunTexts, LoopOfPartsOfTwoLoops) {
    const bp::anweisung_f program = statements("while x < 3 do y := 1 od; while x > 4 do z := 2 od; skip");
    const bp::konfiguration start{nullptr, nullptr, push(anw_f(program))};
    bp::run_texts texts(start);
    const bp::anweisung_f first = program;
    const bp::anweisung_f second = program->rest;
    for (const auto& [condition_of, body_of] :
         {std::pair{first, first}, std::pair{second, first}, std::pair{first, second},
          std::pair{second, second}, std::pair{first, second}, std::pair{first, second->rest},
          std::pair{first, first}}) {
        auto* mixed = common::make<bp::anweisung_rec>(bp::anweisungs_art::SCHLEIFE);
        mixed->bedingungs_wert_schleife() = condition_of->anw->bedingungs_wert_schleife();
        mixed->erst_anweisung_schleife() = body_of->anw->form == bp::anweisungs_art::SCHLEIFE
                                               ? body_of->anw->erst_anweisung_schleife()
                                               : body_of;
        const bp::konfiguration k{nullptr, nullptr, push(anw(mixed), start.zk)};
        EXPECT_EQ(fast(texts, k), plain(k));
    }
}

// The pieces around a condition and a list on the start stack decide
// whether a loop of the two is copied: names standing where " while ", " do "
// and " od " would stand, each wrong in one row.
TEST(RunTexts, LoopOfPartsOfTheStartStack) {
    const struct {
        const char* before;  // before the condition, "" for none
        const char* between;
        const char* after;
    } cases[] = {
        {" while ", " do ", " od "}, {"xxxxxxx", " do ", " od "}, {" while ", "abcd", " od "},
        {" while ", " do ", "zzzz"}, {"", " do ", " od "},
    };
    for (const auto& c : cases) {
        const bp::anweisung loop = first_statement("while x < 3 do y := 1; skip od");
        const bp::bedingung b = loop->bedingungs_wert_schleife();
        const bp::anweisung_f l = loop->erst_anweisung_schleife();
        bp::teile stack = push(bez(c.between), push(anw_f(l), push(bez(c.after))));
        stack = push(bed(b), stack);
        if (*c.before != '\0') {
            stack = push(bez(c.before), stack);
        }
        bp::run_texts texts(bp::konfiguration{nullptr, nullptr, stack});
        auto* new_loop = common::make<bp::anweisung_rec>(bp::anweisungs_art::SCHLEIFE);
        new_loop->bedingungs_wert_schleife() = b;
        new_loop->erst_anweisung_schleife() = l;
        const bp::konfiguration k{nullptr, nullptr, push(anw(new_loop))};
        EXPECT_EQ(fast(texts, k), "<<  ,  ,  while (x< 3) do y:= 1;skip od  >>")
            << c.before << c.between << c.after;
    }
}

// What fails to render at the start fails in the line that shows it, as
// the plain rendering does, and the run's other texts stay right.
TEST(RunTexts, RecordThatFailsFailsInItsLine) {
    const bp::anweisung_f list = statements("x := 1; y := 2");
    auto* broken = common::make<bp::anweisung_f_rec>(list->anw, common::make<bp::anweisung_f_rec>());
    const bp::konfiguration start{nullptr, nullptr, push(anw_f(broken), push(anw_f(list)))};
    bp::run_texts texts(start);
    EXPECT_EQ(raised_name([&] { (void)fast(texts, start); }), common::check_error_name);
    const bp::konfiguration without_it{nullptr, nullptr, start.zk->rest};
    EXPECT_EQ(fast(texts, without_it), "<<  ,  , x:= 1;y:= 2 >>");
}

// The whole trace of machetrace, into a file, equals the lines that the
// plain renderers give, failing runs included.
TEST(RunTexts, MachetraceWritesWhatThePlainRenderingGives) {
    for (unsigned seed = 100; seed < 110; ++seed) {
        const std::string text = program_generator(seed).program(6, 3);
        const comtypes::grbaum b = grammar_tree(text);
        const capture traced = into_file([&](common::text_writer& ft) { bp::machetrace(b, ft); });
        const capture definition = into_file([&](common::text_writer& ft) {
            bp::zustand z = start(text);
            while (z.form == bp::zustand_arten::AKT) {
                ft.put_line(plain(z.akt_zustand()));
                z = bp::delta2_ft(z, ft);
            }
            ft.put_line("Endspeicherbelegung: {" + text_of(bp::zeige_vars, z.ende_zustand()) + "}");
        });
        EXPECT_EQ(traced.text, definition.text) << text;
        EXPECT_EQ(traced.error.empty(), definition.error.empty()) << text;
    }
}

}  // namespace
