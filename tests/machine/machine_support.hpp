// Helpers of the machine tests: trees from program text, start states, and
// what a run wrote to a file or to standard output.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "automata/capture.hpp"
#include "common/errors.hpp"
#include "common/textio.hpp"
#include "frontend/comtypes.hpp"
#include "frontend/scannerpak.hpp"
#include "machine/baumwandler_package.hpp"
#include "support/program_run.hpp"

namespace machine_tests {

namespace bp = baumwandler_package;

// baum returns the grammar tree of a While program text.
inline comtypes::grbaum baum(std::string_view program) {
    return comtypes::creategb(scannerpak::scanner(program), nullptr, nullptr);
}

// start returns the start state of a run, built as the trace drivers build it.
inline bp::zustand start(std::string_view program) {
    const comtypes::grbaum b = baum(program);
    bp::konfiguration k;
    k.um = bp::var_tupel(b, nullptr);
    k.zk = bp::baum_wandler(b);
    return bp::zustand{k};
}

// in_datei runs an action on a writer into a scratch file: what it wrote
// and the error it ended with.
using automata_tests::capture;
inline capture in_datei(const std::function<void(common::text_writer&)>& action) {
    return automata_tests::captured(action);
}

// auf_bildschirm runs `action` with standard output sent to a scratch file.
inline capture auf_bildschirm(const std::function<void()>& action) {
    test_support::scratch_folder folder;
    const auto path = folder.path() / "stdout";
    std::fflush(stdout);
    const int saved = dup(1);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(fd, 1);
    close(fd);
    capture result;
    try {
        action();
    } catch (const common::named_error& error) {
        result.error = error.name() + " " + error.message();
    }
    std::fflush(stdout);
    dup2(saved, 1);
    close(saved);
    result.text = test_support::read_file(path);
    return result;
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
