// What the fuzz targets share: a writer that discards, the outcomes that are
// no finding, and the run of one input. start_up.cpp prepares the process
// and runs libFuzzer on velkor's stack.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <span>
#include <string_view>

#include "common/arena.hpp"
#include "common/errors.hpp"
#include "common/textio.hpp"
#include "frontend/comtypes.hpp"
#include "frontend/scannerpak.hpp"
#include "machine/baumwandler_package.hpp"

namespace fuzz {

// discarding_writer takes every text and keeps none: the drawings and
// traces are written as velkor writes them, into /dev/null. One writer
// lives at a time; they share the descriptor and the buffer.
class discarding_writer final : public common::text_writer {
public:
    discarding_writer() { attach(null_device(), buffer()); }
    ~discarding_writer() = default;
    discarding_writer(const discarding_writer&) = delete;
    discarding_writer& operator=(const discarding_writer&) = delete;

private:
    static int null_device() {
        static const int descriptor = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (descriptor < 0) {
            std::abort();
        }
        return descriptor;
    }
    static std::span<char> buffer() {
        static char text[common::largest_output_block];
        return text;
    }
};

// An error of the system that an input may end with: its name and its place.
struct outcome {
    std::string_view name;
    common::place place;
};

// The outcomes of the front end: the scanner's two errors, nesting too deep
// for the parser, a number beyond 32 bits in the conversion.
inline constexpr outcome front_end_outcomes[] = {
    {scannerpak::eingabefehler, scannerpak::places::not_printable},
    {scannerpak::eingabefehler, scannerpak::places::no_token},
    {common::storage_error_name, comtypes::places::while_nesting},
    {common::storage_error_name, comtypes::places::if_nesting},
    {common::storage_error_name, comtypes::places::parenthesis_nesting},
    {common::check_error_name, baumwandler_package::places::number_beyond_32_bits},
};

// expect_outcome returns when `error` is one of `expected` or of `also`. Any
// other error is a finding: it is written to standard error and the run
// aborts.
inline void expect_outcome(const common::named_error& error, std::span<const outcome> expected,
                           std::span<const outcome> also = {}) {
    for (const std::span<const outcome> outcomes : {expected, also}) {
        for (const outcome& o : outcomes) {
            if (error.is(o.name) && error.message() == o.place.text()) {
                return;
            }
        }
    }
    std::fprintf(stderr, "unexpected error: %s\n", error.what());
    std::abort();
}

// run_input runs `body` on the input `data` of `size` bytes as a program
// text, in an arena scope of its own: what one input builds goes back after
// it, as what one program builds goes back in velkor. An error that leaves
// `body` must be one of `expected` or `also`; any other exception is a
// finding, written to standard error before the run aborts, since libFuzzer
// is no place for it to pass through.
template <class Body>
int run_input(const std::uint8_t* data, std::size_t size, Body body, std::span<const outcome> expected,
              std::span<const outcome> also = {}) {
    const common::arena_scope input;
    try {
        body(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const common::named_error& error) {
        expect_outcome(error, expected, also);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "unexpected exception: %s\n", error.what());
        std::abort();
    } catch (...) {
        std::fprintf(stderr, "unexpected exception\n");
        std::abort();
    }
    return 0;
}

}  // namespace fuzz
