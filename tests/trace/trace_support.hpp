// Helpers of the trace tests: trees and statement lists from program text,
// and stack parts and stacks built by hand.
#pragma once

#include <string_view>

#include "common/arena.hpp"
#include "machine/baumwandler_package.hpp"
#include "support/while_tree.hpp"

namespace trace_test {

namespace bp = baumwandler_package;

using test_support::baum;

// anweisungen returns the converted statement list of a program text.
inline bp::anweisung_f anweisungen(std::string_view program) {
    return bp::baum_wandler(baum(program))->t->teil_anw_f();
}

// teil returns a new stack part of kind `kind`, its field left as made.
inline bp::teil teil(bp::teil_arten kind) {
    return common::make<bp::teil_rec>(kind);
}

// push returns the stack `unten` with `t` on top.
inline bp::teile push(bp::teile unten, bp::teil t) {
    return common::make<bp::teile_rec>(t, unten);
}

}  // namespace trace_test
