// The trace's configuration_renderer copies the texts of the program's
// records from one rendering made at the start of a run; zeige_konf and
// zeige_vars make every text anew and are the definition. These tests run
// large generated programs step by step and compare the two on every
// configuration, and the whole trace of machetrace with one written by the
// definition.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "common/text_buffer.hpp"
#include "common/textio.hpp"
#include "support/capture.hpp"
#include "support/machine_parts.hpp"
#include "support/raised.hpp"
#include "support/while_programs.hpp"
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

std::string fast_konf(bp::configuration_renderer& renderer, const bp::konfiguration& k) {
    common::text_buffer out;
    renderer.konf(out, k);
    return std::string(out.view());
}

std::string fast_vars(bp::configuration_renderer& renderer, bp::umgebung u) {
    common::text_buffer out;
    renderer.vars(out, u);
    return std::string(out.view());
}

struct run_result {
    long konfigurationen = 0;  // compared
    bool beendet = false;      // reached the end state
    bool gescheitert = false;  // a step failed
};

// compare_run steps `z` at most `grenze` times and compares the two texts of
// every configuration and of the final store. A failing step ends the run.
run_result compare_run(bp::zustand z, long grenze, const std::string& what) {
    common::out_file weg;  // the steps' rule lines, not looked at
    weg.create("");
    bp::configuration_renderer renderer(z.akt_zustand());
    run_result result;
    try {
        for (; result.konfigurationen < grenze && z.form == bp::zustand_arten::AKT;
             ++result.konfigurationen) {
            const std::string definition = bp::zeige_konf(z.akt_zustand());
            const std::string fast = fast_konf(renderer, z.akt_zustand());
            if (fast != definition) {
                ADD_FAILURE() << what << ", configuration " << result.konfigurationen << "\n  fast: " << fast
                              << "\n  definition: " << definition;
                return result;
            }
            z = bp::delta2_ft(z, weg);
        }
    } catch (const common::named_error& e) {
        EXPECT_TRUE(e.is(common::check_error_name)) << what << ": " << e.name();
        result.gescheitert = true;
        return result;
    }
    if (z.form == bp::zustand_arten::ENDE) {
        result.beendet = true;
        EXPECT_EQ(fast_vars(renderer, z.ende_zustand()), bp::zeige_vars(z.ende_zustand())) << what;
    }
    return result;
}

TEST(ConfigurationRenderer, AgreesWithTheDefinitionOnGeneratedRuns) {
    long konfigurationen = 0;
    int beendet = 0;
    int gescheitert = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        program_generator generator(seed);
        // Short deep programs and long flat ones, one list of 400 statements.
        const std::string text = seed == 1 ? generator.program(400, 1) : generator.program(8 + seed % 5, 4);
        ASSERT_NE(baum(text), nullptr) << text;
        bp::zustand z = start(text);
        if (seed % 2 == 0) {
            odd_records(seed).list(z.akt_zustand().zk->t->teil_anw_f());
        }
        const run_result r = compare_run(z, 2500, "seed " + std::to_string(seed));
        if (HasFailure()) {
            return;
        }
        konfigurationen += r.konfigurationen;
        beendet += r.beendet ? 1 : 0;
        gescheitert += r.gescheitert ? 1 : 0;
    }
    // The runs say something: many lines, and both ways of ending.
    EXPECT_GT(konfigurationen, 25000);
    EXPECT_GT(beendet, 0);
    EXPECT_GT(gescheitert, 0);
}

// A configuration that shares records in odd ways: a statement in two lists,
// a list shared as the tail of another, a record that was rendered by an
// earlier renderer and a loop statement made after the start.
TEST(ConfigurationRenderer, SharedRecordsAndRecordsMadeLater) {
    const bp::anweisung_f programm =
        statements("x := (1 - 2); while x < 3 do if x = 1 then skip else x := (x + 1) fi od; y := x");
    const bp::anweisung_f zweites = programm->rest;
    auto* geteilt =
        common::make<bp::anweisung_f_rec>(programm->anw, zweites);  // shares a statement and a tail
    const bp::konfiguration start{nullptr, nullptr, push(anw_f(geteilt), push(anw_f(programm)))};

    bp::configuration_renderer erster(start);
    bp::configuration_renderer zweiter(start);  // takes the records' texts from the first
    EXPECT_EQ(fast_konf(zweiter, start), bp::zeige_konf(start));
    EXPECT_EQ(fast_konf(erster, start), bp::zeige_konf(start)) << "the first renders anew";

    // Rule 16's statement: the loop's condition and body in a new record.
    const bp::anweisung alt = zweites->anw;
    auto* neu = common::make<bp::anweisung_rec>(bp::anweisungs_art::SCHLEIFE);
    neu->bedingungs_wert_schleife() = alt->bedingungs_wert_schleife();
    neu->erst_anweisung_schleife() = alt->erst_anweisung_schleife();
    const bp::teil schleife = anw(neu);
    const bp::teil rumpf = anw_f(alt->erst_anweisung_schleife()->rest);  // past its end: the empty list
    const bp::konfiguration spaeter{nullptr, push(schleife), push(rumpf, push(schleife, start.zk))};
    EXPECT_EQ(fast_konf(zweiter, spaeter), bp::zeige_konf(spaeter));
    EXPECT_EQ(fast_konf(zweiter, spaeter),
              "<<  ,  while (x< 3) do  if (x= 1) then skip else x:=(x+ 1) fi od  , "
              "[]& while (x< 3) do  if (x= 1) then skip else x:=(x+ 1) fi od &"
              "x:=( 1- 2); while (x< 3) do  if (x= 1) then skip else "
              "x:=(x+ 1) fi od ;y:=x&x:=( 1- 2); while (x< 3) do  if (x= 1) "
              "then skip else x:=(x+ 1) fi od ;y:=x >>");
}

// A loop made of the condition of one loop of the program and the body of
// another is no loop of the program: its text is made from its parts, also
// right after the text of either loop was copied.
TEST(ConfigurationRenderer, LoopOfPartsOfTwoLoops) {
    const bp::anweisung_f programm = statements("while x < 3 do y := 1 od; while x > 4 do z := 2 od; skip");
    const bp::konfiguration start{nullptr, nullptr, push(anw_f(programm))};
    bp::configuration_renderer renderer(start);
    const bp::anweisung_f erste = programm;
    const bp::anweisung_f zweite = programm->rest;
    for (const auto& [bedingung_von, rumpf_von] :
         {std::pair{erste, erste}, std::pair{zweite, erste}, std::pair{erste, zweite},
          std::pair{zweite, zweite}, std::pair{erste, zweite}, std::pair{erste, zweite->rest},
          std::pair{erste, erste}}) {
        auto* gemischt = common::make<bp::anweisung_rec>(bp::anweisungs_art::SCHLEIFE);
        gemischt->bedingungs_wert_schleife() = bedingung_von->anw->bedingungs_wert_schleife();
        gemischt->erst_anweisung_schleife() = rumpf_von->anw->form == bp::anweisungs_art::SCHLEIFE
                                                  ? rumpf_von->anw->erst_anweisung_schleife()
                                                  : rumpf_von;
        const bp::konfiguration k{nullptr, nullptr, push(anw(gemischt), start.zk)};
        EXPECT_EQ(fast_konf(renderer, k), bp::zeige_konf(k));
    }
}

// The pieces around a condition and a list on the start stack decide
// whether a loop of the two is copied: names standing where " while ", " do "
// and " od " would stand, each wrong in one row.
TEST(ConfigurationRenderer, LoopOfPartsOfTheStartStack) {
    const struct {
        const char* vor;  // before the condition, "" for none
        const char* zwischen;
        const char* nach;
    } cases[] = {
        {" while ", " do ", " od "}, {"xxxxxxx", " do ", " od "}, {" while ", "abcd", " od "},
        {" while ", " do ", "zzzz"}, {"", " do ", " od "},
    };
    for (const auto& c : cases) {
        const bp::anweisung schleife = first_statement("while x < 3 do y := 1; skip od");
        const bp::bedingung b = schleife->bedingungs_wert_schleife();
        const bp::anweisung_f l = schleife->erst_anweisung_schleife();
        bp::teile stapel = push(bez(c.zwischen), push(anw_f(l), push(bez(c.nach))));
        stapel = push(bed(b), stapel);
        if (*c.vor != '\0') {
            stapel = push(bez(c.vor), stapel);
        }
        bp::configuration_renderer renderer(bp::konfiguration{nullptr, nullptr, stapel});
        auto* neu = common::make<bp::anweisung_rec>(bp::anweisungs_art::SCHLEIFE);
        neu->bedingungs_wert_schleife() = b;
        neu->erst_anweisung_schleife() = l;
        const bp::konfiguration k{nullptr, nullptr, push(anw(neu))};
        EXPECT_EQ(fast_konf(renderer, k), "<<  ,  ,  while (x< 3) do y:= 1;skip od  >>")
            << c.vor << c.zwischen << c.nach;
    }
}

// What fails to render at the start fails in the line that shows it, as
// the definition does, and the renderer's other texts stay right.
TEST(ConfigurationRenderer, RecordThatFailsFailsInItsLine) {
    const bp::anweisung_f liste = statements("x := 1; y := 2");
    auto* kaputt = common::make<bp::anweisung_f_rec>(liste->anw, common::make<bp::anweisung_f_rec>());
    const bp::konfiguration start{nullptr, nullptr, push(anw_f(kaputt), push(anw_f(liste)))};
    bp::configuration_renderer renderer(start);
    common::text_buffer out;
    EXPECT_EQ(raised_name([&] { renderer.konf(out, start); }), common::check_error_name);
    const bp::konfiguration ohne{nullptr, nullptr, start.zk->rest};
    EXPECT_EQ(fast_konf(renderer, ohne), "<<  ,  , x:= 1;y:= 2 >>");
}

// The whole trace of machetrace, into a file, equals the lines the
// definition gives, failing runs included.
TEST(ConfigurationRenderer, MachetraceWritesWhatTheDefinitionGives) {
    for (unsigned seed = 100; seed < 110; ++seed) {
        const std::string text = program_generator(seed).program(6, 3);
        const comtypes::grbaum b = baum(text);
        const capture fast = into_file([&](common::text_writer& ft) { bp::machetrace(b, ft); });
        const capture definition = into_file([&](common::text_writer& ft) {
            bp::zustand z = start(text);
            while (z.form == bp::zustand_arten::AKT) {
                ft.put_line(bp::zeige_konf(z.akt_zustand()));
                z = bp::delta2_ft(z, ft);
            }
            ft.put_line("Endspeicherbelegung: {" + bp::zeige_vars(z.ende_zustand()) + "}");
        });
        EXPECT_EQ(fast.text, definition.text) << text;
        EXPECT_EQ(fast.error.empty(), definition.error.empty()) << text;
    }
}

}  // namespace
