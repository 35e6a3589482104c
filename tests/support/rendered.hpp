// The text that one of the product's own renderers writes, as a string. No
// engine of its own: called with no texts of a run at hand, a renderer makes
// every text from its parts, and that plain rendering is what the tests hold
// the texts copied from a run against.
#pragma once

#include <string>
#include <type_traits>

#include "common/text_buffer.hpp"
#include "trace/zeige.hpp"

namespace test_support {

// text_of returns what the renderer `zeige` writes of `a` on a line of its
// own, with the texts of the run `texts` at hand, or, with none, made from
// its parts. What the renderer raises passes on.
template <class A>
std::string text_of(void (*zeige)(baumwandler_package::line&, A), std::type_identity_t<A> a,
                    baumwandler_package::run_texts* texts = nullptr) {
    common::text_buffer out;
    baumwandler_package::line erg(out, texts);
    zeige(erg, a);
    erg.close();
    return std::string(out.view());
}

}  // namespace test_support
