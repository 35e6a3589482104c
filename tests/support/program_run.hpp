// Runs a built program as a user would: given standard input, in a given
// working folder, capturing standard output, standard error and the status.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace test_support {

struct program_result {
    std::string out;
    std::string err;
    int status = -1;  // exit status, when the program exited
    int signal = 0;   // the signal that ended it, 0 when it exited
};

std::filesystem::path program_path(std::string_view program);

// Path below the tests folder of the source tree.
std::filesystem::path data_path(std::string_view relative);

std::string read_file(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, std::string_view content);

// `input` is the whole of standard input: a program that reads past it
// meets the end of input.
program_result run_program(std::string_view program, std::string_view input,
                           const std::filesystem::path& working_folder = {});

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
