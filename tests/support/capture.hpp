// What an action wrote, to standard output or to a writer of its own, and
// what it raised; and an action that reads a given standard input.
#pragma once

#include <functional>
#include <string>
#include <string_view>

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

// with_input runs `action` with `input` as the whole of standard input: a
// read past it meets the end of input. Afterwards standard input reads from
// /dev/null.
void with_input(std::string_view input, const std::function<void()>& action);

}  // namespace test_support
