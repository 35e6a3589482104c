#include "textio.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "errors.hpp"

namespace common {
namespace {

constexpr std::string_view module_name = "textio";

[[noreturn]] void fail(std::string_view name, int line) {
    raise(name, place{module_name, line});
}

class standard_output_writer final : public text_writer {
public:
    standard_output_writer() { attach(stdout); }
};

out_file* open_files = nullptr;

bool holds_nul(std::string_view name) {
    return name.find('\0') != std::string_view::npos;
}

// Every program is single-threaded: the stream lock of each write is pure
// cost on the long traces.
std::size_t write_unlocked(const char* data, std::size_t size, std::FILE* stream) {
#if defined(__GLIBC__)
    return ::fwrite_unlocked(data, 1, size, stream);
#else
    return std::fwrite(data, 1, size, stream);
#endif
}

int put_unlocked(char character, std::FILE* stream) {
#if defined(__GLIBC__)
    return ::putc_unlocked(static_cast<unsigned char>(character), stream);
#else
    return std::putc(static_cast<unsigned char>(character), stream);
#endif
}

}  // namespace

void text_writer::attach(std::FILE* stream) noexcept {
    stream_ = stream;
    at_line_start_ = true;
}

void text_writer::put(std::string_view text) {
    if (stream_ == nullptr) {
        fail(use_error_name, __LINE__);
    }
    if (text.empty()) {
        return;
    }
    if (write_unlocked(text.data(), text.size(), stream_) != text.size()) {
        fail(use_error_name, __LINE__);
    }
    at_line_start_ = text.back() == '\n';
}

void text_writer::put(char character) {
    if (stream_ == nullptr) {
        fail(use_error_name, __LINE__);
    }
    if (put_unlocked(character, stream_) == EOF) {
        fail(use_error_name, __LINE__);
    }
    at_line_start_ = character == '\n';
}

void text_writer::put_line(std::string_view text) {
    put(text);
    new_line();
}

void text_writer::new_line() {
    put('\n');
}

void text_writer::flush() {
    if (stream_ != nullptr && std::fflush(stream_) != 0) {
        fail(use_error_name, __LINE__);
    }
}

text_writer& standard_output() {
    static standard_output_writer writer;
    return writer;
}

out_file::~out_file() {
    if (is_open()) {
        try {
            close();
        } catch (...) {
            // A destructor must not throw; the close at finalisation reports.
        }
    }
}

void out_file::create(std::string_view name) {
    if (is_open()) {
        fail(use_error_name, __LINE__);
    }
    if (holds_nul(name)) {
        fail(name_error_name, __LINE__);
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
            fail(use_error_name, __LINE__);
        }
        ::unlink(pattern.c_str());
    } else {
        const std::string path(name);
        descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (descriptor < 0) {
            if (errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG) {
                fail(name_error_name, __LINE__);
            }
            fail(use_error_name, __LINE__);
        }
    }
    std::FILE* stream = ::fdopen(descriptor, "w");
    if (stream == nullptr) {
        ::close(descriptor);
        fail(use_error_name, __LINE__);
    }
    attach(stream);
    link();
}

void out_file::close() {
    if (!is_open()) {
        fail(use_error_name, __LINE__);
    }
    std::FILE* stream = this->stream();
    bool ok = true;
    try {
        if (!at_line_start()) {
            new_line();
        }
    } catch (const named_error&) {
        ok = false;
    }
    unlink_open();
    attach(nullptr);
    if (std::fclose(stream) != 0) {
        ok = false;
    }
    if (!ok) {
        fail(use_error_name, __LINE__);
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

void out_file::close_all() noexcept {
    while (open_files != nullptr) {
        out_file* file = open_files;
        try {
            file->close();
        } catch (...) {
            // Finalisation goes on with the other files.
        }
        if (open_files == file) {
            file->unlink_open();
        }
    }
}

void in_file::open(std::string_view name) {
    if (open_) {
        fail(use_error_name, __LINE__);
    }
    if (name.empty() || holds_nul(name)) {
        fail(name_error_name, __LINE__);
    }
    const std::string path(name);
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG || errno == ELOOP) {
            fail(name_error_name, __LINE__);
        }
        fail(use_error_name, __LINE__);
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || S_ISDIR(status.st_mode)) {
        ::close(descriptor);
        fail(use_error_name, __LINE__);
    }
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
        if (count == 0) {
            break;
        }
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            ::close(descriptor);
            fail(use_error_name, __LINE__);
        }
        content.append(buffer, static_cast<std::size_t>(count));
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
        fail(use_error_name, __LINE__);
    }
    if (position_ >= content_.size()) {
        fail(end_error_name, __LINE__);
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
    // The place END_ERROR at a prompt names, whatever the layout of this file.
    constexpr int end_of_input = 283;
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
    const ssize_t count = ::getline(&buffer.text, &buffer.capacity, stdin);
    if (count < 0) {
        fail(end_error_name, end_of_input);
    }
    auto length = static_cast<std::size_t>(count);
    if (length > 0 && buffer.text[length - 1] == '\n') {
        --length;
    }
    return std::string(buffer.text, length);
}

}  // namespace common
