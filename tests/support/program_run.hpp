// Runs a program as a user would: given standard input, in a given working
// folder, capturing standard output, standard error and the status.
#pragma once

#include <sys/resource.h>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace test_support {

// One limit for setrlimit: the resource (RLIMIT_STACK, RLIMIT_AS,
// RLIMIT_FSIZE, ...) and its value in bytes, soft and hard alike.
struct resource_limit {
    int resource;
    rlim_t bytes;
};

struct program_result {
    std::string out;
    std::string err;
    int status = -1;  // exit status, when the program exited
    int signal = 0;   // the signal that ended it, 0 when it exited
};

std::filesystem::path program_path(std::string_view program);

// Path below the tests folder of the source tree.
std::filesystem::path data_path(std::string_view relative);

// expected_output returns the file `name` of tests/programs, where the
// expected texts of the whole-program runs lie; the empty name stands for
// an empty file.
std::string expected_output(std::string_view name);

std::string read_file(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, std::string_view content);

// run_program runs a built program. `input` is the whole of standard input:
// a program that reads past it meets the end of input. It runs in
// `working_folder` (the test's own when empty), when `temp_folder` is given
// with TMPDIR set to it, and under `limits`, set as the program starts: a
// small stack, a limit of the address space, a file-size limit.
program_result run_program(std::string_view program, std::string_view input,
                           const std::filesystem::path& working_folder = {},
                           const std::filesystem::path& temp_folder = {},
                           const std::vector<resource_limit>& limits = {});

// report_of returns what `program` writes to standard output when it runs
// with no input: the report of a program that reads nothing. Each program
// runs once per test program. A run that writes to standard error, or ends
// otherwise than with status 0, throws std::runtime_error.
const std::string& report_of(std::string_view program);

// run_program_paused runs `program` as run_program does, but with its
// standard output a pipe, read as the program writes it until it holds
// `pause_after` and one character more. Then `paused` runs, told whether
// the program was still running, while the program goes on until the pipe
// is full and waits for it to be read; then the rest is read. When the
// output never holds `pause_after`, `paused` does not run.
program_result run_program_paused(std::string_view program, std::string_view input,
                                  const std::filesystem::path& working_folder,
                                  const std::vector<resource_limit>& limits, std::string_view pause_after,
                                  const std::function<void(bool still_running)>& paused);

// run_entry runs `entry` in a child process with `input` as the whole of
// its standard input, as a program's main runs: what it returns is the exit
// status.
program_result run_entry(const std::function<int()>& entry, std::string_view input = "");

// For the child of run_entry, to run where the bounds of the main thread's
// stack cannot be found. set_stack_limit sets the soft limit of the stack to
// `bytes` (RLIM_INFINITY: unlimited); leave_no_descriptor_free lowers the
// limit of descriptors to those open, so that no file opens, /proc/self/maps
// included; give_descriptors_back raises it to the hard limit again (the
// sanitizers' own checks need descriptors too). Each returns false when it
// could not do so.
bool set_stack_limit(rlim_t bytes);
bool leave_no_descriptor_free();
bool give_descriptors_back();

// For the child of run_entry, to run, or to execute a program that runs,
// with no thread of its own to be had. The limit of processes does that,
// but it does not bind root: as root the child first becomes the
// unprivileged user nobody, who must then be able to reach whatever it
// executes, reads or writes. The leak checker of AddressSanitizer, which
// needs a thread at the end, is turned off for what it executes. Returns
// false when it could not do so.
bool leave_no_thread();

// A fresh empty folder, removed when the object goes.
class scratch_folder {
public:
    scratch_folder();
    ~scratch_folder();
    scratch_folder(const scratch_folder&) = delete;
    scratch_folder& operator=(const scratch_folder&) = delete;
    [[nodiscard]] const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace test_support
