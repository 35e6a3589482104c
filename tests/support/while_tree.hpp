// Grammar trees from While program text, for the tests of the areas that
// work on parsed programs.
#pragma once

#include <string_view>

#include "frontend/comtypes.hpp"
#include "frontend/scannerpak.hpp"

namespace test_support {

// grammar_tree returns the grammar tree of a While program text (null when it does
// not parse).
inline comtypes::grbaum grammar_tree(std::string_view program) {
    return comtypes::creategb(scannerpak::scanner(program), nullptr, nullptr);
}

}  // namespace test_support
