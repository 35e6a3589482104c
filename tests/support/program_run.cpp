#include "tests/support/program_run.hpp"

#include <fcntl.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>

#include "common/sanitizers.hpp"
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

// A pause in reading a child's standard output: once the output read holds
// `after` and one character more, `paused` runs.
struct output_pause {
    std::string_view after;
    const std::function<void(bool still_running)>& paused;
};

// result_of fills the status or the signal of `result` from `wait_status`.
void result_of(int wait_status, program_result& result) {
    if (WIFEXITED(wait_status)) {
        result.status = WEXITSTATUS(wait_status);
    } else if (WIFSIGNALED(wait_status)) {
        result.signal = WTERMSIG(wait_status);
    }
}

// read_pipe reads `descriptor` to its end into `out`, pausing once as `pause`
// says; `pid` is the writer. It returns true when the pause found the writer
// ended, with its wait status in `wait_status`.
bool read_pipe(int descriptor, std::string& out, pid_t pid, const output_pause& pause, int& wait_status) {
    bool waited = false;
    bool pausing = true;
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return waited;
        }
        out.append(buffer, static_cast<std::size_t>(count));
        const std::size_t at = pausing ? out.find(pause.after) : std::string::npos;
        if (at != std::string::npos && out.size() > at + pause.after.size()) {
            pausing = false;
            waited = ::waitpid(pid, &wait_status, WNOHANG) == pid;
            pause.paused(!waited);
        }
    }
}

// Runs `child` in a forked process whose standard input is `input` and whose
// standard output and standard error are captured: standard output in a
// file, or in a pipe read as `pause` says. `child` ends the process; should
// it return, the status is 127.
program_result run_child(std::string_view input, const std::function<void()>& child,
                         const output_pause* pause = nullptr) {
    scratch_folder io;
    const auto in_path = io.path() / "stdin";
    const auto out_path = io.path() / "stdout";
    const auto err_path = io.path() / "stderr";
    write_file(in_path, input);
    int pipe_ends[2] = {-1, -1};
    if (pause != nullptr && ::pipe2(pipe_ends, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
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
        const int out =
            pause != nullptr ? pipe_ends[1] : ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) {
            ::_exit(127);
        }
        child();
        ::_exit(127);
    }
    program_result result;
    int wait_status = 0;
    bool waited = false;
    if (pause != nullptr) {
        ::close(pipe_ends[1]);
        waited = read_pipe(pipe_ends[0], result.out, pid, *pause, wait_status);
        ::close(pipe_ends[0]);
    }
    while (!waited && ::waitpid(pid, &wait_status, 0) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error("waitpid failed");
        }
    }
    if (pause == nullptr) {
        result.out = read_file(out_path);
    }
    result.err = read_file(err_path);
    result_of(wait_status, result);
    return result;
}

// start_program is the child of run_program: it goes to `working_folder`,
// sets TMPDIR to `temp_folder` and the limits, and becomes `executable`.
void start_program(const std::string& executable, const std::filesystem::path& working_folder,
                   const std::filesystem::path& temp_folder, const std::vector<resource_limit>& limits) {
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

bool give_descriptors_back() {
    rlimit descriptors{};
    if (::getrlimit(RLIMIT_NOFILE, &descriptors) != 0) {
        return false;
    }
    descriptors.rlim_cur = descriptors.rlim_max;
    return ::setrlimit(RLIMIT_NOFILE, &descriptors) == 0;
}

bool leave_no_thread() {
    // nobody, by the id that it has on every Linux system.
    constexpr uid_t nobody = 65534;
    if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setresgid(nobody, nobody, nobody) != 0 ||
                             ::setresuid(nobody, nobody, nobody) != 0)) {
        return false;
    }
    if (common::address_sanitizer) {
        const char* options = std::getenv("ASAN_OPTIONS");
        const std::string without_leaks =
            (options != nullptr && *options != '\0' ? std::string(options) + ":" : "") + "detect_leaks=0";
        if (::setenv("ASAN_OPTIONS", without_leaks.c_str(), 1) != 0) {
            return false;
        }
    }
    // Not one process more for the user: neither a thread nor a process starts.
    const rlimit processes{1, 1};
    return ::setrlimit(RLIMIT_NPROC, &processes) == 0;
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
    return run_child(input, [&] { start_program(executable, working_folder, temp_folder, limits); });
}

const std::string& report_of(std::string_view program) {
    static std::map<std::string, std::string, std::less<>> reports;
    if (const auto report = reports.find(program); report != reports.end()) {
        return report->second;
    }
    const program_result result = run_program(program, "");
    if (result.status != 0 || result.signal != 0 || !result.err.empty()) {
        throw std::runtime_error(std::string(program) + " ended with status " +
                                 std::to_string(result.status) + ", signal " + std::to_string(result.signal) +
                                 ", standard error: " + result.err);
    }
    return reports.emplace(program, result.out).first->second;
}

program_result run_program_paused(std::string_view program, std::string_view input,
                                  const std::filesystem::path& working_folder,
                                  const std::vector<resource_limit>& limits, std::string_view pause_after,
                                  const std::function<void(bool still_running)>& paused) {
    const std::string executable = program_path(program).string();
    const output_pause pause{pause_after, paused};
    return run_child(
        input, [&] { start_program(executable, working_folder, {}, limits); }, &pause);
}

program_result run_entry(const std::function<int()>& entry, std::string_view input) {
    return run_child(input, [&] { ::_exit(entry()); });
}

}  // namespace test_support
