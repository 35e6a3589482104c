// Helpers of the machine tests: whole runs and what they wrote.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "common/textio.hpp"
#include "machine/baumwandler_package.hpp"

namespace machine_tests {

namespace bp = baumwandler_package;

// run_steps steps `z` into `ft` until the end state, at most `limit` steps,
// and returns the last state reached.
inline bp::zustand run_steps(bp::zustand z, common::text_writer& ft, int limit = 100000) {
    for (int i = 0; i < limit && z.form == bp::zustand_arten::AKT; ++i) {
        z = bp::delta2_ft(z, ft);
    }
    return z;
}

// rule_numbers returns the rule numbers of the rule lines of a written run,
// "11'" for the empty list and "end" for the end line, in order.
inline std::vector<std::string> rule_numbers(std::string_view text) {
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

// words splits "11 9 1" into its words.
inline std::vector<std::string> words(std::string_view text) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find(' ', pos), text.size());
        if (end > pos) {
            out.emplace_back(text.substr(pos, end - pos));
        }
        pos = end + 1;
    }
    return out;
}

// names lists the names of an environment from its head on.
inline std::string names(bp::umgebung u) {
    std::string out;
    for (; u != nullptr; u = u->next) {
        out += out.empty() ? "" : ", ";
        out += u->elem.variable_name;
    }
    return out;
}

}  // namespace machine_tests
