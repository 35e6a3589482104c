// Helpers of the machine tests: trees from program text, start states, and
// what a run wrote to a file or to standard output.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/errors.hpp"
#include "common/textio.hpp"
#include "machine/baumwandler_package.hpp"
#include "support/capture.hpp"
#include "support/program_run.hpp"
#include "support/while_tree.hpp"

namespace machine_tests {

namespace bp = baumwandler_package;

using test_support::baum;

// start returns the start state of a run, built as the trace drivers build it.
inline bp::zustand start(std::string_view program) {
    const comtypes::grbaum b = baum(program);
    bp::konfiguration k;
    k.um = bp::var_tupel(b, nullptr);
    k.zk = bp::baum_wandler(b);
    return bp::zustand{k};
}

// in_datei runs an action on a writer into a scratch file, auf_bildschirm
// with standard output sent to one: what it wrote and the error it ended with.
using test_support::capture;
inline capture in_datei(const std::function<void(common::text_writer&)>& action) {
    return test_support::captured(action);
}
inline capture auf_bildschirm(const std::function<void()>& action) {
    return test_support::on_screen(action);
}

// lauf steps `z` into `ft` until the end state, at most `grenze` steps, and
// returns the last state reached.
inline bp::zustand lauf(bp::zustand z, common::text_writer& ft, int grenze = 100000) {
    for (int i = 0; i < grenze && z.form == bp::zustand_arten::AKT; ++i) {
        z = bp::delta2_ft(z, ft);
    }
    return z;
}

// regelnummern returns the rule numbers of the rule lines of a written run,
// "11'" for the empty list and "end" for the end line, in order.
inline std::vector<std::string> regelnummern(std::string_view text) {
    std::vector<std::string> numbers;
    std::size_t pos = 0;
    while ((pos = text.find("-- (", pos)) != std::string_view::npos) {
        pos += 4;
        if (text.substr(pos, 4) == "Ende") {
            numbers.emplace_back("end");
            continue;
        }
        numbers.emplace_back(text.substr(pos, text.find(' ', pos) - pos));
    }
    return numbers;
}

// nummern splits "11 9 1" into its words.
inline std::vector<std::string> nummern(std::string_view words) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < words.size()) {
        const std::size_t end = std::min(words.find(' ', pos), words.size());
        if (end > pos) {
            out.emplace_back(words.substr(pos, end - pos));
        }
        pos = end + 1;
    }
    return out;
}

// namen lists the names of an environment from its head on.
inline std::string namen(bp::umgebung u) {
    std::string out;
    for (; u != nullptr; u = u->next) {
        out += out.empty() ? "" : ", ";
        out += u->elem.variable_name;
    }
    return out;
}

}  // namespace machine_tests
