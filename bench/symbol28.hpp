// The symbols of the grammar benchmarks: 28, as many as the While grammar
// has, the first 9 of them nonterminals; their images are their numbers.
#pragma once

#include <string>

#include "grammar/symbols.hpp"

namespace bench {

enum class symbol28 : int {};

}  // namespace bench

template <>
struct grammar::symbol_traits<bench::symbol28> {
    static constexpr bench::symbol28 first{0};
    static constexpr bench::symbol28 last{27};
    static constexpr bench::symbol28 last_nonterminal{8};
    static std::string image(bench::symbol28 z) { return std::to_string(static_cast<int>(z)); }
};
