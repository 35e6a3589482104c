// The text layer of the system: standard output and created text files share
// one writer (piecewise text, whole lines, line ends), standard input and
// program files are read a whole line at a time. Every failure is a named
// error (NAME_ERROR, USE_ERROR, END_ERROR), never a silent loss.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "errors.hpp"

namespace common {

// Writers hand their text to the system in blocks of this size: a write
// call per 64 KiB, not per 4 KiB, on the long traces. Standard output on a
// terminal is the exception: it shows each line as it ends.
inline constexpr std::size_t output_buffer_size = std::size_t{64} << 10;

class text_writer {
public:
    text_writer(const text_writer&) = delete;
    text_writer& operator=(const text_writer&) = delete;

    void put(std::string_view text);
    void put(char character);
    void put_line(std::string_view text);
    void new_line();

    // True when nothing has been written since the last line end.
    [[nodiscard]] bool at_line_start() const noexcept { return at_line_start_; }

    void flush();

protected:
    text_writer() = default;
    ~text_writer() = default;

    void attach(std::FILE* stream) noexcept;
    [[nodiscard]] std::FILE* stream() const noexcept { return stream_; }

private:
    std::FILE* stream_ = nullptr;
    bool at_line_start_ = true;
};

// The process's standard output.
text_writer& standard_output();

// A text file created for writing. An empty name creates a temporary file
// that takes the output like any other and is gone when the program ends.
class out_file final : public text_writer {
public:
    out_file() = default;
    ~out_file();

    void create(std::string_view name);
    // An unfinished last line is ended with a line end before closing.
    void close();
    [[nodiscard]] bool is_open() const noexcept { return stream() != nullptr; }

    // Finalisation: flushes and closes every file still open, each
    // unfinished line ended. No write or close error is lost: `first` is the
    // first error of the program so far, if any. The error of a file that
    // was closed as it was destroyed (a destructor cannot raise it) takes its
    // place when it came before; otherwise, when `first` is empty, the first
    // error met here fills it.
    static void close_all(std::optional<named_error>& first) noexcept;

private:
    std::unique_ptr<char[]> buffer_;  // the stream's; it outlives every stream it served
    out_file* next_open_ = nullptr;
    out_file* previous_open_ = nullptr;
    void link();
    void unlink_open() noexcept;
};

// A text file opened for reading, a line at a time.
class in_file {
public:
    void open(std::string_view name);
    [[nodiscard]] bool is_open() const noexcept { return open_; }
    [[nodiscard]] bool end_of_file() const noexcept;
    std::string get_line();
    void close() noexcept;

private:
    std::string content_;
    std::size_t position_ = 0;
    bool open_ = false;
};

// Reads one line of standard input (its line end removed), after flushing
// standard output so that a prompt stands before the answer. At the end of
// input it raises END_ERROR.
std::string get_line();

}  // namespace common
