// The grammar tree of the While parser and its recursive-descent builder.
#include "frontend/comtypes.hpp"

#include <utility>

#include "common/errors.hpp"

namespace comtypes {
namespace {

// A field of the other variant names the line of the node's declaration.
constexpr common::place variant_guard{"comtypes", 85};

}  // namespace

grknoten::grknoten(alphabet symbol) : al(symbol) {}

grknoten::grknoten(alphabet symbol, std::string text) : al(symbol), exp_(std::move(text)) {}

grbaum grknoten::knoten() const {
    common::check(!is_terminal_symbol(al), variant_guard);
    return knoten_;
}

grbaum& grknoten::knoten() {
    common::check(!is_terminal_symbol(al), variant_guard);
    return knoten_;
}

const std::string& grknoten::exp() const {
    common::check(is_terminal_symbol(al), variant_guard);
    return exp_;
}

std::string& grknoten::exp() {
    common::check(is_terminal_symbol(al), variant_guard);
    return exp_;
}

bool isterminal(grbaum kn) {
    return is_terminal_symbol(common::not_null(kn, common::place{"comtypes", __LINE__})->al);
}

bool isnonterminal(grbaum kn) {
    return !is_terminal_symbol(common::not_null(kn, common::place{"comtypes", __LINE__})->al);
}

}  // namespace comtypes
