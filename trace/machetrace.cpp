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

// configuration_line makes `text` the line of the configuration `k`, its
// line end included. It is a function apart from the loop of the run, so
// that the ends of the line stay in registers, not crowded out by the loop.
[[gnu::noinline]] void configuration_line(common::text_buffer& text, run_texts& texts,
                                          const konfiguration& k) {
    text.clear();
    line erg(text, &texts);
    zeige_konf(erg, k);
    erg.put('\n');
    erg.close();
}

// run writes the trace of `z` and of every following state to `out`, with
// `step` as the step of the machine, for at most `limit` steps. A check
// error in a rendering or a step becomes whileinit_error naming
// `failure_place`, once; every other error passes unchanged.
template <class Step>
void run(zustand z, common::text_writer& out, Step step, common::place failure_place, long limit) {
    common::text_buffer text;  // one buffer for every line of the run
    long steps = 0;
    try {
        run_texts texts(z.form == zustand_arten::AKT ? z.akt_zustand() : konfiguration{});
        while (z.form == zustand_arten::AKT) {
            if (steps >= limit) {
                common::raise(common::storage_error_name, places::step_limit_reached);
            }
            configuration_line(text, texts, z.akt_zustand());
            out.put(text.view());
            z = step(z);
            ++steps;
        }
        text.clear();
        line erg(text, &texts);
        erg.put("Endspeicherbelegung: {");
        zeige_vars(erg, z.ende_zustand());
        erg.put("}\n");
        erg.close();
        out.put(text.view());
    } catch (const common::named_error& e) {
        if (e.is(common::check_error_name)) {
            common::raise(whileinit_error, failure_place);
        }
        throw;
    }
}

// trace_file is trace with every line, the step's own included, written
// into `ft`.
void trace_file(zustand z, common::text_writer& ft, long limit) {
    run(
        z, ft, [&ft](const zustand& s) { return delta2_ft(s, ft); }, places::trace_file, limit);
}

}  // namespace

zustand start_state(comtypes::grbaum baum) {
    konfiguration k;
    k.um = var_tupel(baum, nullptr);
    k.zk = baum_wandler(baum);
    return zustand(k);
}

void trace(zustand z) {
    run(
        z, common::standard_output(), [](const zustand& s) { return delta2(s); }, places::trace_screen,
        step_limit);
}

// A run builds its own environment, control stack and abstract syntax from
// the tree, and no record of it is reachable once it has ended: what leaves
// it is written text or an error, which own their storage. So everything it
// built is given back when it ends, however it ends, and the screen run
// after the file run reuses the same storage. start_state runs before any
// handler, so a check error there (a number beyond 32 bits) leaves
// machetrace as the check error.
void machetrace(comtypes::grbaum baum) {
    const common::arena_scope run_storage;
    trace(start_state(baum));
}

void machetrace(comtypes::grbaum baum, common::text_writer& ft, long limit) {
    const common::arena_scope run_storage;
    trace_file(start_state(baum), ft, limit);
}

}  // namespace baumwandler_package
