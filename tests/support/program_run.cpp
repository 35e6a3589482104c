#include "program_run.hpp"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "common/textio.hpp"

namespace test_support {
namespace {

std::filesystem::path make_temp_folder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = (base != nullptr && *base != '\0') ? base : "/tmp";
    pattern += "/suite-test-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    return pattern;
}

// Runs `child` in a forked process whose standard input is `input` and whose
// standard output and standard error are captured. `child` ends the process;
// should it return, the status is 127.
program_result run_child(std::string_view input, const std::function<void()>& child) {
    scratch_folder io;
    const auto in_path = io.path() / "stdin";
    const auto out_path = io.path() / "stdout";
    const auto err_path = io.path() / "stderr";
    write_file(in_path, input);
    // The child must not write again what this process still holds.
    common::standard_output().flush();
    std::fflush(stdout);
    std::fflush(stderr);

    const pid_t pid = ::fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        const int in = ::open(in_path.c_str(), O_RDONLY);
        const int out = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) {
            ::_exit(127);
        }
        child();
        ::_exit(127);
    }
    int wait_status = 0;
    while (::waitpid(pid, &wait_status, 0) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error("waitpid failed");
        }
    }
    program_result result;
    result.out = read_file(out_path);
    result.err = read_file(err_path);
    if (WIFEXITED(wait_status)) {
        result.status = WEXITSTATUS(wait_status);
    } else if (WIFSIGNALED(wait_status)) {
        result.signal = WTERMSIG(wait_status);
    }
    return result;
}

}  // namespace

std::filesystem::path program_path(std::string_view program) {
    return std::filesystem::path(SUITE_PROGRAM_DIR) / std::string(program);
}

std::filesystem::path data_path(std::string_view relative) {
    return std::filesystem::path(SUITE_TEST_DATA_DIR) / std::string(relative);
}

std::string expected_output(std::string_view name) {
    return name.empty() ? "" : read_file(data_path("programs/" + std::string(name)));
}

std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_file(const std::filesystem::path& path, std::string_view content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

bool set_stack_limit(rlim_t bytes) {
    rlimit stack{};
    if (::getrlimit(RLIMIT_STACK, &stack) != 0) {
        return false;
    }
    stack.rlim_cur = bytes;
    return ::setrlimit(RLIMIT_STACK, &stack) == 0;
}

bool leave_no_descriptor_free() {
    const int lowest_free = ::dup(0);
    rlimit descriptors{};
    if (lowest_free < 0 || ::close(lowest_free) != 0 || ::getrlimit(RLIMIT_NOFILE, &descriptors) != 0) {
        return false;
    }
    descriptors.rlim_cur = static_cast<rlim_t>(lowest_free);
    if (::setrlimit(RLIMIT_NOFILE, &descriptors) != 0) {
        return false;
    }
    const int maps = ::open("/proc/self/maps", O_RDONLY);
    if (maps >= 0) {
        ::close(maps);
        return false;
    }
    return true;
}

scratch_folder::scratch_folder() : path_(make_temp_folder()) {}

scratch_folder::~scratch_folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

program_result run_program(std::string_view program, std::string_view input,
                           const std::filesystem::path& working_folder,
                           const std::filesystem::path& temp_folder,
                           const std::vector<resource_limit>& limits) {
    const std::string executable = program_path(program).string();
    return run_child(input, [&] {
        if (!working_folder.empty() && ::chdir(working_folder.c_str()) != 0) {
            return;
        }
        if (!temp_folder.empty() && ::setenv("TMPDIR", temp_folder.c_str(), 1) != 0) {
            return;
        }
        // Set last, so that only the program meets them.
        for (const resource_limit& limit : limits) {
            const rlimit value{limit.bytes, limit.bytes};
            if (::setrlimit(limit.resource, &value) != 0) {
                ::_exit(126);
            }
        }
        ::execl(executable.c_str(), executable.c_str(), static_cast<char*>(nullptr));
    });
}

program_result run_entry(const std::function<int()>& entry, std::string_view input) {
    return run_child(input, [&] { ::_exit(entry()); });
}

}  // namespace test_support
