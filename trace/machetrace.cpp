// Trace drivers of the While machine: the start state of a program, then one
// iteration per machine step, each configuration rendered as one line before
// its step and never again (the step changes cells that it shares).
#include "trace/machetrace.hpp"

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "common/text_buffer.hpp"
#include "trace/zeige.hpp"

namespace baumwandler_package {
namespace {

// start_state builds a fresh start state of the program `baum`: the
// environment first, then the control stack, as a run needs them. It runs
// before any handler, so a check error here (a number beyond 32 bits)
// leaves machetrace as the check error.
zustand start_state(comtypes::grbaum baum) {
    konfiguration k;
    k.um = var_tupel(baum, nullptr);
    k.zk = baum_wandler(baum);
    return zustand(k);
}

// run writes the trace of `z` and of every following state to `ziel`, with
// `schritt` as the step of the machine, for at most `grenze` steps. A check
// error in a rendering or a step becomes whileinit_error naming
// `fehler_ort`, once; every other error passes unchanged.
template <class Schritt>
void run(zustand z, common::text_writer& ziel, Schritt schritt, common::place fehler_ort, long grenze) {
    common::text_buffer zeile;  // one buffer for every line of the run
    long schritte = 0;
    try {
        configuration_renderer texte(z.form == zustand_arten::AKT ? z.akt_zustand() : konfiguration{});
        while (z.form == zustand_arten::AKT) {
            if (schritte >= grenze) {
                common::raise(common::storage_error_name, places::step_limit);
            }
            zeile.clear();
            texte.konf(zeile, z.akt_zustand());
            zeile.put('\n');
            ziel.put(zeile.view());
            z = schritt(z);
            ++schritte;
        }
        zeile.clear();
        zeile.put("Endspeicherbelegung: {");
        texte.vars(zeile, z.ende_zustand());
        zeile.put("}\n");
        ziel.put(zeile.view());
    } catch (const common::named_error& e) {
        if (e.is(common::check_error_name)) {
            common::raise(whileinit_error, fehler_ort);
        }
        throw;
    }
}

// trace_file is trace with every line, the step's own included, written
// into `ft`.
void trace_file(zustand z, common::text_writer& ft, long grenze) {
    run(
        z, ft, [&ft](const zustand& s) { return delta2_ft(s, ft); }, places::trace_file, grenze);
}

}  // namespace

void trace(zustand z) {
    run(
        z, common::standard_output(), [](const zustand& s) { return delta2(s); }, places::trace_screen,
        schritt_grenze);
}

// A run builds its own environment, control stack and abstract syntax from
// the tree, and no record of it is reachable once it has ended: what leaves
// it is written text or an error, which own their storage. So everything it
// built is given back when it ends, however it ends, and the screen run
// after the file run reuses the same storage.
void machetrace(comtypes::grbaum baum) {
    const common::arena_scope lauf;
    trace(start_state(baum));
}

void machetrace(comtypes::grbaum baum, common::text_writer& ft, long grenze) {
    const common::arena_scope lauf;
    trace_file(start_state(baum), ft, grenze);
}

}  // namespace baumwandler_package
