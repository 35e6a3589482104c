#include "tests/support/capture.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "tests/support/program_run.hpp"
#include "tests/support/raised.hpp"

namespace test_support {
namespace {

// Standard output goes to `path` for the lifetime of the object. The writer
// of standard output writes to descriptor 1 itself, so what it holds goes out
// before the descriptor changes, as what stdio holds.
class screen_redirect {
public:
    explicit screen_redirect(const std::filesystem::path& path) {
        common::standard_output().flush();
        std::fflush(stdout);
        const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        saved_ = ::dup(1);
        const bool redirected = file >= 0 && saved_ >= 0 && ::dup2(file, 1) >= 0;
        ::close(file);
        if (!redirected) {
            ::close(saved_);
            throw std::runtime_error("cannot redirect standard output");
        }
    }
    ~screen_redirect() {
        try {
            common::standard_output().flush();
        } catch (const common::named_error&) {
            // Only text after the action's error can be left here; losing it shows as text missing.
        }
        std::fflush(stdout);
        std::clearerr(stdout);
        ::dup2(saved_, 1);
        ::close(saved_);
    }
    screen_redirect(const screen_redirect&) = delete;
    screen_redirect& operator=(const screen_redirect&) = delete;

private:
    int saved_ = -1;
};

}  // namespace

capture on_screen(const std::function<void()>& action) {
    const scratch_folder folder;
    const auto path = folder.path() / "stdout";
    capture result;
    {
        const screen_redirect redirect(path);
        result.error = raised([&] {
            action();
            common::standard_output().flush();
        });
    }
    result.text = read_file(path);
    return result;
}

void with_input(std::string_view input, const std::function<void()>& action) {
    const scratch_folder folder;
    const auto path = folder.path() / "stdin";
    write_file(path, input);
    // Reopening the stream, not only its descriptor, drops what it had read
    // ahead and its end-of-input mark.
    if (std::freopen(path.c_str(), "r", stdin) == nullptr) {
        throw std::runtime_error("cannot redirect standard input");
    }
    struct to_null {
        ~to_null() {
            if (std::freopen("/dev/null", "r", stdin) == nullptr) {
                std::abort();  // no later test could read its input
            }
        }
    } afterwards;
    action();
}

capture into_file(const std::function<void(common::text_writer&)>& action) {
    const scratch_folder folder;
    const auto path = folder.path() / "out";
    common::out_file file;
    file.create(path.string());
    capture result;
    result.error = raised([&] { action(file); });
    file.flush();
    result.text = read_file(path);
    file.close();
    return result;
}

}  // namespace test_support
