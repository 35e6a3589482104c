// The text layer of the system: standard output and created text files share
// one writer (piecewise text, whole lines, line ends), standard input and
// program files are read a whole line at a time. Every failure is a named
// error (NAME_ERROR, USE_ERROR, END_ERROR), never a silent loss.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/copy_text.hpp"
#include "common/errors.hpp"

namespace common {

// Writers hand their text to the system in the blocks that a stdio stream
// takes for the same descriptor: the system's preferred block size, at most
// BUFSIZ. The block decides where a write that fails is noticed, and so
// which call reports it: a larger one would move reports on a full disk or
// on /dev/full. Standard output on a terminal shows each line as it ends.
inline constexpr std::size_t largest_output_block = BUFSIZ;

// text_writer gathers text in a buffer of its own and hands it to a file
// descriptor with write(2), a full buffer at a time. A piece that finds room
// costs a test and a copy; the rest goes out of line. Should the buffer not
// take a piece, it is filled with the piece's head and written, the whole
// buffers' worth that follow go straight to the descriptor and the tail
// stays in the buffer: the writes start and end where a stdio stream's do.
// A write that fails raises USE_ERROR, named by the call that met it (a
// piece, a character, flush); the text it held is lost.
class text_writer {
public:
    text_writer(const text_writer&) = delete;
    text_writer& operator=(const text_writer&) = delete;

    void put(std::string_view text) {
        if (static_cast<std::ptrdiff_t>(text.size()) < end_ - next_) {
            copy_text(next_, text.data(), text.size());
            next_ += text.size();
        } else {
            put_beyond_room(text);
        }
    }
    void put(char character) {
        if (next_ < end_) {
            *next_++ = character;
        } else {
            put_beyond_room(character);
        }
    }
    void put_line(std::string_view text) {
        put(text);
        new_line();
    }
    void new_line() { put('\n'); }

    // Writes out what the buffer holds. Without a descriptor it does nothing.
    void flush();

protected:
    text_writer() = default;
    ~text_writer() = default;

    // True when nothing has been written since the last line end.
    [[nodiscard]] bool at_line_start() const noexcept {
        return next_ != buffer_ ? next_[-1] == '\n' : line_start_;
    }

    // attach sends the text from now on to `descriptor` (-1: none) through
    // `buffer`, which the caller keeps for as long as it is attached; with
    // `by_lines`, each piece that holds a line end goes out at once. Nothing
    // is buffered after it.
    void attach(int descriptor, std::span<char> buffer, bool by_lines = false) noexcept;
    [[nodiscard]] int descriptor() const noexcept { return descriptor_; }
    // write_out writes what the buffer holds and says whether that worked;
    // the buffer is empty after it either way.
    [[nodiscard]] bool write_out() noexcept;
    // Empties the buffer after a failed write; `line_start` is at_line_start()
    // as it was before the call that failed.
    void discard(bool line_start) noexcept;

private:
    void put_beyond_room(std::string_view text);
    void put_beyond_room(char character);

    // The fast paths' room: [next_, end_). end_ is buffer_ while every piece
    // takes the slow path: line by line, and until the first piece comes;
    // both are null without a descriptor.
    char* next_ = nullptr;
    char* end_ = nullptr;
    char* buffer_ = nullptr;
    char* buffer_end_ = nullptr;
    int descriptor_ = -1;
    bool by_lines_ = false;
    bool line_start_ = true;  // at_line_start() of the text already written out
};

// The writer of the process's standard output, made at the first call of
// standard_output.
text_writer& make_standard_output();

// The process's standard output. Inline, for the screen trace asks for it
// at every step.
inline text_writer& standard_output() {
    static text_writer& writer = make_standard_output();
    return writer;
}

// A text file created for writing. An empty name creates a temporary file
// that takes the output like any other and is gone when the program ends.
class out_file final : public text_writer {
public:
    out_file() = default;
    // Closes the file when it is still open. An error of that close, which a
    // destructor cannot raise, waits for finalisation (close_all).
    ~out_file();

    // create opens `name` for writing, created or emptied. A file still open
    // raises USE_ERROR; a name holding a NUL, or one that leads nowhere (into
    // a folder that does not exist, or too long), NAME_ERROR; any other
    // refusal of the system, for a temporary file too, USE_ERROR.
    void create(std::string_view name);
    // flush_before_close writes out what the buffer holds, now rather than
    // at the close, so that what the file took so far is on disk while it
    // stays open; an unfinished last line stays unfinished. It does so only
    // for a file on disk of its own: a terminal, a pipe or a device, and the
    // file that standard output writes to, show what they take beside
    // standard output, and keep their text until the close, so that it
    // shows where it always did. Of a file not open it does nothing. A write
    // that fails raises nothing here: its text is lost, as after any failed
    // write, and the close that follows fails with USE_ERROR, as when its
    // own write fails.
    void flush_before_close() noexcept;
    // close writes out what the buffer holds, an unfinished last line ended
    // with a line end, and closes the file. A file not open raises
    // USE_ERROR; so does a write or a close that fails, or a write of
    // flush_before_close that failed before, after which the file is closed
    // all the same.
    void close();

    // Finalisation: flushes and closes every file still open, each
    // unfinished line ended. No write or close error is lost: `first` is the
    // first error of the program so far, if any. The error of a file that
    // was closed as it was destroyed (a destructor cannot raise it) takes its
    // place when it came before; otherwise, when `first` is empty, the first
    // error met here fills it.
    static void close_all(std::optional<named_error>& first) noexcept;

private:
    [[nodiscard]] bool is_open() const noexcept { return descriptor() >= 0; }

    std::unique_ptr<char[]> buffer_;  // allocated at the first create, kept for the next
    bool write_failed_ = false;       // a write of flush_before_close failed; the close reports it
    out_file* next_open_ = nullptr;
    out_file* previous_open_ = nullptr;
    void link();
    void unlink_open() noexcept;
};

// A text file opened for reading, a line at a time. Opening reads the whole
// file; the lines are taken from that copy.
class in_file {
public:
    // open reads the file `name`. A file still open raises USE_ERROR; the
    // empty name, a name holding a NUL or one that names nothing,
    // NAME_ERROR; a folder, a refusal of the system or a read that fails,
    // USE_ERROR.
    void open(std::string_view name);
    // True when no line is left, and for a file not open.
    [[nodiscard]] bool end_of_file() const noexcept;
    // get_line returns the next line, its line end removed; a last line
    // without one comes as it is. A file not open raises USE_ERROR; a file
    // with no line left, END_ERROR.
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
