// While program texts nested to a given depth, for the tests of deep trees.
#pragma once

#include <string>
#include <string_view>

namespace test_support {

// nested returns `text` followed by `depth` times `open`, then `inner`, then
// `depth` times `close`.
inline std::string nested(std::string text, std::string_view open, std::string_view inner,
                          std::string_view close, int depth) {
    for (int i = 0; i < depth; ++i) {
        text += open;
    }
    text += inner;
    for (int i = 0; i < depth; ++i) {
        text += close;
    }
    return text;
}

// nested_loops returns `depth` loops, each the only statement of the one
// around it, with skip innermost.
inline std::string nested_loops(int depth) {
    return nested("", "while x<1 do ", "skip", " od", depth);
}

// nested_parentheses returns an assignment of `depth` nested sums.
inline std::string nested_parentheses(int depth) {
    return nested("x:=", "(1+", "1", ")", depth);
}

}  // namespace test_support
