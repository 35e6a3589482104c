// While programs nested to a given depth, for the tests of deep trees.
#pragma once

#include <string>

namespace driver_tests {

// nested_loops returns `depth` loops, each the only statement of the one
// around it, with skip innermost.
inline std::string nested_loops(int depth) {
    std::string program;
    for (int i = 0; i < depth; ++i) {
        program += "while x < 0 do ";
    }
    program += "skip";
    for (int i = 0; i < depth; ++i) {
        program += " od";
    }
    return program;
}

}  // namespace driver_tests
