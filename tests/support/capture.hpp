// What an action wrote, to its writer or to standard output, and the error
// it ended with, if any.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

#include "common/errors.hpp"
#include "common/textio.hpp"
#include "support/program_run.hpp"

namespace test_support {

struct capture {
    std::string text;
    std::string error;  // "NAME message", empty when the action ended normally
};

// Runs `action` on a writer into a scratch file; the text is read before the
// file is closed, so an unfinished last line stays unfinished.
inline capture captured(const std::function<void(common::text_writer&)>& action) {
    scratch_folder folder;
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
    result.text = read_file(path);
    file.close();
    return result;
}

// Runs `action` with standard output sent to a scratch file.
inline capture on_screen(const std::function<void()>& action) {
    scratch_folder folder;
    const auto path = folder.path() / "stdout";
    std::fflush(stdout);
    const int saved = ::dup(1);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(fd, 1);
    ::close(fd);
    capture result;
    try {
        action();
    } catch (const common::named_error& error) {
        result.error = error.name() + " " + error.message();
    }
    std::fflush(stdout);
    ::dup2(saved, 1);
    ::close(saved);
    result.text = read_file(path);
    return result;
}

}  // namespace test_support
