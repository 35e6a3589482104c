// The trace drivers of the While machine: they run a parsed program from its
// start configuration to the end state, writing before every step the whole
// configuration as one line, and at the end the final store.
#pragma once

#include "common/textio.hpp"
#include "frontend/comtypes.hpp"
#include "machine/baumwandler_package.hpp"

namespace baumwandler_package {

// The places that the trace drivers' reports name, in this module's name and
// at the lines they have always named.
namespace places {
// A run still active after its step limit.
inline constexpr common::place step_limit_reached{module_name, 40};
// The whileinit_error of a failed step, on the screen and in the trace file.
inline constexpr common::place trace_screen{module_name, 217};
inline constexpr common::place trace_file{module_name, 252};
}  // namespace places

// A run takes at most this many steps of the machine, its end step
// included; one still active after them ends with STORAGE_ERROR, as a run
// would whose depth of calls exhausts the stack. A While program that does
// not end would otherwise trace for ever.
inline constexpr long step_limit = 1'000'000;

// start_state returns a fresh start state of the program `baum`: an active
// state whose configuration holds the environment of its variables, all
// undefined (var_tupel), an empty value stack, and the control stack of its
// statement list (baum_wandler), built in this order. A number beyond 32
// bits in the program raises the check error; a null tree raises it too.
zustand start_state(comtypes::grbaum baum);

// machetrace builds the start state of the program `baum` and runs `trace`
// on it. A number beyond 32 bits in the program raises the check error
// before any line is written. Everything the run built is given back to the
// arena when it ends, however it ends; the tree is only read.
void machetrace(comtypes::grbaum baum);

// machetrace, file form: the same run with every line written into `ft`,
// which the caller has created and closes; nothing goes to standard output.
// A run still active after `limit` steps (velkor's is step_limit) raises
// STORAGE_ERROR before its next line: at once for a limit of 0.
void machetrace(comtypes::grbaum baum, common::text_writer& ft, long limit = step_limit);

// trace writes the trace of `z` and of every following state to standard
// output: per active state its configuration line, then the step's empty
// line and rule line; for the end state "Endspeicherbelegung: {" env "}".
// A check error in a rendering or a step becomes whileinit_error at
// places::trace_screen; every other error passes unchanged. A run
// still active after step_limit steps raises STORAGE_ERROR before its next
// configuration line; what was written stays written.
void trace(zustand z);

}  // namespace baumwandler_package
