// What an action wrote to its writer and the error it ended with, if any.
#pragma once

#include <functional>
#include <string>

#include "common/errors.hpp"
#include "common/textio.hpp"
#include "support/program_run.hpp"

namespace automata_tests {

struct capture {
    std::string text;
    std::string error;  // "NAME message", empty when the action ended normally
};

// Runs `action` on a writer into a scratch file; the text is read before the
// file is closed, so an unfinished last line stays unfinished.
inline capture captured(const std::function<void(common::text_writer&)>& action) {
    test_support::scratch_folder folder;
    const auto path = folder.path() / "out";
    common::out_file file;
    file.create(path.string());
    capture result;
    try {
        action(file);
    } catch (const common::named_error& error) {
        result.error = error.name() + " " + error.message();
    }
    file.flush();
    result.text = test_support::read_file(path);
    file.close();
    return result;
}

}  // namespace automata_tests
