// Runs a built program as run_program does, under resource limits set in the
// child before the program starts: a small stack, a limit of the address
// space, a file-size limit.
#pragma once

#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "support/program_run.hpp"

namespace test_support {

// One limit for setrlimit: the resource (RLIMIT_STACK, RLIMIT_AS,
// RLIMIT_FSIZE, ...) and its value in bytes, soft and hard alike.
struct resource_limit {
    int resource;
    rlim_t bytes;
};

// run_limited runs `program` with standard input `input` in
// `working_folder` under `limits`, and reports as run_program does.
inline program_result run_limited(std::string_view program, std::string_view input,
                                  const std::vector<resource_limit>& limits,
                                  const std::filesystem::path& working_folder = {}) {
    const std::string executable = program_path(program).string();
    return run_entry(
        [&] {
            for (const resource_limit& limit : limits) {
                const rlimit value{limit.bytes, limit.bytes};
                if (::setrlimit(limit.resource, &value) != 0) {
                    return 126;
                }
            }
            if (!working_folder.empty() && ::chdir(working_folder.c_str()) != 0) {
                return 127;
            }
            ::execl(executable.c_str(), executable.c_str(), static_cast<char*>(nullptr));
            return 127;
        },
        input);
}

}  // namespace test_support
