#include "common/textio.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <utility>

#include "common/errors.hpp"

namespace common {
namespace {

constexpr std::string_view module_name = "textio";

// The fixed places of the text layer's failures: the line that each one's
// report has always named, whatever the layout of this file.
namespace places {
// Writing: to a writer without a descriptor, a write or a flush that fails.
constexpr place text_without_descriptor{module_name, 59};
constexpr place text_not_written{module_name, 65};
constexpr place character_without_descriptor{module_name, 72};
constexpr place character_not_written{module_name, 75};
constexpr place flush_failed{module_name, 91};
// Creating: a file still open, a name holding a NUL, no temporary file, a
// name that leads nowhere, a refusal.
constexpr place create_while_open{module_name, 112};
constexpr place create_name_with_nul{module_name, 115};
constexpr place no_temporary_file{module_name, 126};
constexpr place create_name_leads_nowhere{module_name, 134};
constexpr place create_refused{module_name, 136};
// Closing: a file not open; a last line end or a close that fails.
constexpr place close_not_open{module_name, 150};
constexpr place close_failed{module_name, 167};
// Opening for reading: a file still open, the empty name or one holding a
// NUL, a name that names nothing, a refusal, no file (a folder), a read
// that fails.
constexpr place open_while_open{module_name, 209};
constexpr place open_without_name{module_name, 212};
constexpr place open_name_names_nothing{module_name, 218};
constexpr place open_refused{module_name, 220};
constexpr place open_no_file{module_name, 225};
constexpr place read_failed{module_name, 239};
// Reading a line: of a file not open, past its end, past the end of
// standard input.
constexpr place line_of_closed_file{module_name, 255};
constexpr place line_past_end{module_name, 258};
constexpr place end_of_input{module_name, 283};
}  // namespace places

// Opening a file reads it this much at a time. The buffer lives on the heap:
// the main thread's stack, where a program runs when it gets no thread of
// its own, may be smaller than this.
constexpr std::size_t read_block = std::size_t{64} << 10;

// The block of a writer on `descriptor`, as a stdio stream chooses it.
std::size_t output_block(int descriptor) noexcept {
    struct stat status {};
    if (::fstat(descriptor, &status) == 0 && status.st_blksize > 0 &&
        static_cast<std::size_t>(status.st_blksize) < largest_output_block) {
        return static_cast<std::size_t>(status.st_blksize);
    }
    return largest_output_block;
}

// Standard output's buffer lives as long as the process: its writer is
// flushed as the process ends, after every object of the program is gone.
char standard_output_buffer[largest_output_block];

class standard_output_writer final : public text_writer {
public:
    standard_output_writer() {
        // A terminal shows each line as it ends; a file or a pipe takes the
        // output in blocks. What stdio holds already goes out first.
        std::fflush(stdout);
        attach(STDOUT_FILENO, {standard_output_buffer, output_block(STDOUT_FILENO)},
               ::isatty(STDOUT_FILENO) != 0);
    }
    // What is still buffered at the end of the process goes out, as a stdio
    // stream's would. A program's finalisation has flushed it already and
    // reported any failure; here none can be.
    ~standard_output_writer() { (void)write_out(); }
};

out_file* open_files = nullptr;

// The first error of a file that was closed as it was destroyed: a
// destructor cannot raise it, so finalisation does. It counts as later than
// an error that was on its way when it came.
struct deferred_failure {
    std::optional<named_error> error;
    bool while_unwinding = false;
};

// Never destroyed, since a file that static destruction closes may still
// come; made in static storage, since a destructor that keeps an error must
// not need memory.
deferred_failure& deferred() {
    alignas(deferred_failure) static unsigned char storage[sizeof(deferred_failure)];
    static deferred_failure* const failure = ::new (storage) deferred_failure;
    return *failure;
}

bool holds_nul(std::string_view name) {
    return name.find('\0') != std::string_view::npos;
}

// write_all writes `size` bytes from `data` to `descriptor`, again after a
// partial write or a signal; false when a write fails.
bool write_all(int descriptor, const char* data, std::size_t size) noexcept {
    while (size > 0) {
        const ssize_t count = ::write(descriptor, data, size);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        data += count;
        size -= static_cast<std::size_t>(count);
    }
    return true;
}

// on_disk_apart_from_standard_output returns true when `descriptor` writes
// to a regular file that is not the file of standard output.
bool on_disk_apart_from_standard_output(int descriptor) noexcept {
    struct stat file {};
    if (::fstat(descriptor, &file) != 0 || !S_ISREG(file.st_mode)) {
        return false;
    }
    struct stat screen {};
    return ::fstat(STDOUT_FILENO, &screen) != 0 || screen.st_dev != file.st_dev ||
           screen.st_ino != file.st_ino;
}

}  // namespace

void text_writer::attach(int descriptor, std::span<char> buffer, bool by_lines) noexcept {
    descriptor_ = descriptor;
    by_lines_ = by_lines;
    line_start_ = true;
    if (descriptor < 0) {
        buffer_ = buffer_end_ = next_ = end_ = nullptr;
        return;
    }
    buffer_ = next_ = end_ = buffer.data();
    buffer_end_ = buffer.data() + buffer.size();
}

bool text_writer::write_out() noexcept {
    if (next_ == buffer_) {
        return true;
    }
    const bool line_start = next_[-1] == '\n';
    const bool written = write_all(descriptor_, buffer_, static_cast<std::size_t>(next_ - buffer_));
    next_ = buffer_;
    if (written) {
        line_start_ = line_start;
    }
    return written;
}

void text_writer::discard(bool line_start) noexcept {
    next_ = buffer_;
    line_start_ = line_start;
}

void text_writer::put_beyond_room(std::string_view text) {
    if (descriptor_ < 0) {
        raise(use_error_name, places::text_without_descriptor);
    }
    if (text.empty()) {
        return;
    }
    const bool line_start = at_line_start();
    // A writer that has taken nothing yet has no room: its first piece goes
    // out in whole buffers' worth as well, as a new stdio stream's does.
    const auto room = static_cast<std::size_t>((by_lines_ ? buffer_end_ : end_) - next_);
    if (text.size() <= room) {
        copy_text(next_, text.data(), text.size());
        next_ += text.size();
    } else {
        // The head fills the buffer; whole buffers' worth go straight out.
        std::memcpy(next_, text.data(), room);
        next_ += room;
        end_ = by_lines_ ? buffer_ : buffer_end_;
        std::string_view rest = text.substr(room);
        const auto size = static_cast<std::size_t>(buffer_end_ - buffer_);
        const std::size_t whole = rest.size() - rest.size() % size;
        if (!write_out() || !write_all(descriptor_, rest.data(), whole)) {
            discard(line_start);
            raise(use_error_name, places::text_not_written);
        }
        if (whole > 0) {
            line_start_ = rest[whole - 1] == '\n';
        }
        rest.remove_prefix(whole);
        std::memcpy(next_, rest.data(), rest.size());
        next_ += rest.size();
    }
    if (by_lines_ && text.find('\n') != std::string_view::npos && !write_out()) {
        discard(line_start);
        raise(use_error_name, places::text_not_written);
    }
}

void text_writer::put_beyond_room(char character) {
    if (descriptor_ < 0) {
        raise(use_error_name, places::character_without_descriptor);
    }
    const bool line_start = at_line_start();
    end_ = by_lines_ ? buffer_ : buffer_end_;
    if (next_ == buffer_end_ && !write_out()) {
        discard(line_start);
        raise(use_error_name, places::character_not_written);
    }
    *next_++ = character;
    if (by_lines_ && character == '\n' && !write_out()) {
        discard(line_start);
        raise(use_error_name, places::character_not_written);
    }
}

void text_writer::flush() {
    if (descriptor_ >= 0 && !write_out()) {
        raise(use_error_name, places::flush_failed);
    }
}

text_writer& make_standard_output() {
    static standard_output_writer writer;
    return writer;
}

out_file::~out_file() {
    if (!is_open()) {
        return;
    }
    const auto keep = [](const named_error& error) noexcept {
        deferred_failure& failure = deferred();
        if (!failure.error) {
            failure.error = error;
            failure.while_unwinding = std::uncaught_exceptions() > 0;
        }
    };
    try {
        close();
    } catch (const named_error& error) {
        keep(error);
    } catch (...) {
        keep(storage_error());  // the error itself could not be made
    }
}

void out_file::create(std::string_view name) {
    if (is_open()) {
        raise(use_error_name, places::create_while_open);
    }
    if (holds_nul(name)) {
        raise(name_error_name, places::create_name_with_nul);
    }
    if (!buffer_) {
        buffer_ = std::make_unique_for_overwrite<char[]>(largest_output_block);
    }
    int descriptor = -1;
    if (name.empty()) {
        // The temporary file is removed at once: it keeps taking output
        // through its descriptor, and no way of ending leaves it behind.
        const char* folder = std::getenv("TMPDIR");
        std::string pattern = (folder != nullptr && *folder != '\0') ? folder : "/tmp";
        pattern += "/velkor-XXXXXX";
        descriptor = ::mkstemp(pattern.data());
        if (descriptor < 0) {
            raise(use_error_name, places::no_temporary_file);
        }
        ::unlink(pattern.c_str());
    } else {
        const std::string path(name);
        descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (descriptor < 0) {
            if (errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG) {
                raise(name_error_name, places::create_name_leads_nowhere);
            }
            raise(use_error_name, places::create_refused);
        }
    }
    attach(descriptor, {buffer_.get(), output_block(descriptor)});
    link();
}

void out_file::flush_before_close() noexcept {
    if (!is_open() || !on_disk_apart_from_standard_output(descriptor())) {
        return;
    }
    const bool line_start = at_line_start();
    if (!write_out()) {
        discard(line_start);
        write_failed_ = true;
    }
}

void out_file::close() {
    if (!is_open()) {
        raise(use_error_name, places::close_not_open);
    }
    const int descriptor = this->descriptor();
    bool ok = !write_failed_;
    write_failed_ = false;
    try {
        if (!at_line_start()) {
            new_line();
        }
    } catch (...) {  // even when the error of the write could not be made
        ok = false;
    }
    ok = write_out() && ok;
    unlink_open();
    attach(-1, {});
    if (::close(descriptor) != 0) {
        ok = false;
    }
    if (!ok) {
        raise(use_error_name, places::close_failed);
    }
}

void out_file::link() {
    next_open_ = open_files;
    previous_open_ = nullptr;
    if (open_files != nullptr) {
        open_files->previous_open_ = this;
    }
    open_files = this;
}

void out_file::unlink_open() noexcept {
    if (previous_open_ != nullptr) {
        previous_open_->next_open_ = next_open_;
    } else if (open_files == this) {
        open_files = next_open_;
    }
    if (next_open_ != nullptr) {
        next_open_->previous_open_ = previous_open_;
    }
    next_open_ = nullptr;
    previous_open_ = nullptr;
}

void out_file::close_all(std::optional<named_error>& first) noexcept {
    deferred_failure& failure = deferred();
    if (failure.error && (!first || !failure.while_unwinding)) {
        first = std::move(failure.error);
    }
    failure = {};
    while (open_files != nullptr) {
        out_file* file = open_files;
        try {
            file->close();
        } catch (...) {
            keep_first(first);
        }
        if (open_files == file) {
            file->unlink_open();
        }
    }
}

void in_file::open(std::string_view name) {
    if (open_) {
        raise(use_error_name, places::open_while_open);
    }
    if (name.empty() || holds_nul(name)) {
        raise(name_error_name, places::open_without_name);
    }
    const std::string path(name);
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG || errno == ELOOP) {
            raise(name_error_name, places::open_name_names_nothing);
        }
        raise(use_error_name, places::open_refused);
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || S_ISDIR(status.st_mode)) {
        ::close(descriptor);
        raise(use_error_name, places::open_no_file);
    }
    std::string content;
    const auto buffer = std::make_unique_for_overwrite<char[]>(read_block);
    for (;;) {
        const ssize_t count = ::read(descriptor, buffer.get(), read_block);
        if (count == 0) {
            break;
        }
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            ::close(descriptor);
            raise(use_error_name, places::read_failed);
        }
        content.append(buffer.get(), static_cast<std::size_t>(count));
    }
    ::close(descriptor);
    content_ = std::move(content);
    position_ = 0;
    open_ = true;
}

bool in_file::end_of_file() const noexcept {
    return !open_ || position_ >= content_.size();
}

std::string in_file::get_line() {
    if (!open_) {
        raise(use_error_name, places::line_of_closed_file);
    }
    if (position_ >= content_.size()) {
        raise(end_error_name, places::line_past_end);
    }
    const std::size_t end = content_.find('\n', position_);
    std::string line;
    if (end == std::string::npos) {
        line = content_.substr(position_);
        position_ = content_.size();
    } else {
        line = content_.substr(position_, end - position_);
        position_ = end + 1;
    }
    return line;
}

void in_file::close() noexcept {
    content_.clear();
    position_ = 0;
    open_ = false;
}

std::string get_line() {
    standard_output().flush();
    // One call per line, not a getc per character: the main procedure runs
    // on a thread of its own, so each call takes the stream's lock. The count
    // it returns keeps NUL bytes; a last line without a line end comes back
    // as it is.
    struct line_buffer {
        char* text = nullptr;
        std::size_t capacity = 0;
        ~line_buffer() { std::free(text); }
    } buffer;
    errno = 0;
    const ssize_t count = ::getline(&buffer.text, &buffer.capacity, stdin);
    if (count < 0) {
        if (errno == ENOMEM) {
            storage_exhausted();  // a line longer than memory holds: STORAGE_ERROR, not the end of input
        }
        raise(end_error_name, places::end_of_input);
    }
    auto length = static_cast<std::size_t>(count);
    if (length > 0 && buffer.text[length - 1] == '\n') {
        --length;
    }
    return std::string(buffer.text, length);
}

}  // namespace common
