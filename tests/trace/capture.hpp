// Runs a trace action in a forked child with standard output sent to a
// file, so that a test sees exactly what reached the screen and which error,
// if any, left the action.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

#include "common/errors.hpp"
#include "common/textio.hpp"
#include "support/program_run.hpp"

namespace trace_test {

struct captured {
    std::string out;    // everything written to standard output
    std::string error;  // "NAME : message" of the error that left, empty when none
    int status = -1;    // the child's exit status; 0 when it ended normally
};

inline captured run_captured(const std::function<void()>& body) {
    test_support::scratch_folder folder;
    const auto out_path = folder.path() / "out";
    const auto error_path = folder.path() / "error";
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = ::fork();
    if (child == 0) {
        if (std::freopen(out_path.c_str(), "w", stdout) == nullptr) {
            ::_exit(127);
        }
        std::string error;
        try {
            body();
        } catch (const common::named_error& e) {
            error = e.name() + " : " + e.message();
        }
        std::fflush(stdout);
        if (std::FILE* f = std::fopen(error_path.c_str(), "w")) {
            std::fputs(error.c_str(), f);
            std::fclose(f);
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    captured result;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = test_support::read_file(out_path);
    result.error = test_support::read_file(error_path);
    return result;
}

}  // namespace trace_test
