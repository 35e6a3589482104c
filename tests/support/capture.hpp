// What an action wrote, to standard output or to a writer of its own, and
// what it raised.
#pragma once

#include <functional>
#include <string>

#include "common/textio.hpp"

namespace test_support {

struct capture {
    std::string text;   // everything the action wrote
    std::string error;  // what it raised, as `raised` writes it; "" when nothing
};

// on_screen runs `action` with standard output sent to a scratch file.
capture on_screen(const std::function<void()>& action);

// into_file runs `action` on a writer into a scratch file. The text is read
// before the file is closed, so an unfinished last line stays unfinished.
capture into_file(const std::function<void(common::text_writer&)>& action);

}  // namespace test_support
