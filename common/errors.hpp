// Named errors shared by every program: one exception type that carries the
// error's full upper-case name and the place where it was raised.
#pragma once

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace common {

// Names of the errors that no module of the system declares itself.
inline constexpr std::string_view check_error_name = "CHECK_ERROR";
inline constexpr std::string_view name_error_name = "NAME_ERROR";
inline constexpr std::string_view use_error_name = "USE_ERROR";
inline constexpr std::string_view end_error_name = "END_ERROR";
inline constexpr std::string_view storage_error_name = "STORAGE_ERROR";
// What the report names an exception that is no named error and no want of
// memory: a fault of the program itself, which no input should reach.
inline constexpr std::string_view program_error_name = "PROGRAM_ERROR";

// Where an error was raised: written "module:line" as its message.
//
// A place is named one of two ways. The reports a user can meet name fixed
// places, constants of their module (`places::...`), which keep their line
// whatever becomes of the source. Every other check is internal, a guard no
// user should ever see fail, and names where it stands: here().
struct place {
    std::string_view module;
    int line;

    [[nodiscard]] std::string text() const;
};

// module_of returns the module of a source file's path: the file's name
// without its folders and its extension ("frontend/comtypes.cpp" gives
// "comtypes").
consteval std::string_view module_of(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash != std::string_view::npos) {
        path.remove_prefix(slash + 1);
    }
    return path.substr(0, path.rfind('.'));
}

// here returns the place of the call that names it: its source file's
// module and its line, found while compiling, so a check costs no more than
// with a constant place. It is std::source_location::current() in short;
// clang 14 with libstdc++ 12 has no std::source_location, so it asks the
// builtins behind it.
consteval place here(const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
    return place{module_of(file), line};
}

// named_error is the one exception type of the system. Its texts are made
// once and shared by every copy, so copying it never allocates and never
// throws: a handler or a destructor may keep an error while memory is out.
// The texts of an error made from constants stay where they are: such an
// error needs no memory at all.
class named_error : public std::exception {
public:
    // The texts of an error: its name, its message (empty when it has none)
    // and what(), the name followed by " : " and the message when there is
    // one. what points to a text with a NUL after it.
    struct texts {
        std::string_view name;
        std::string_view message;
        const char* what;
    };

    named_error(std::string name, std::string message);
    // An error of constant texts, which must outlive every copy of it.
    explicit named_error(const texts& constant) noexcept;

    [[nodiscard]] std::string_view name() const noexcept { return texts_->name; }
    [[nodiscard]] std::string_view message() const noexcept { return texts_->message; }
    // is returns true when this is the error named `name`: the test of a
    // handler that takes one error and lets every other pass on.
    [[nodiscard]] bool is(std::string_view name) const noexcept { return texts_->name == name; }
    [[nodiscard]] const char* what() const noexcept override { return texts_->what; }

private:
    std::shared_ptr<const texts> texts_;
};

static_assert(std::is_nothrow_copy_constructible_v<named_error> &&
              std::is_nothrow_copy_assignable_v<named_error>);

// storage_error returns STORAGE_ERROR with no message. Its texts are
// constants: where memory has run out, no new error could be made.
const named_error& storage_error() noexcept;

// keep_first, called in a handler, keeps the error it handles in `first`
// unless `first` holds one already. Anything that is not a named error
// stands for an error that could not be made: STORAGE_ERROR.
void keep_first(std::optional<named_error>& first) noexcept;

// raise throws the error `name` with `message`, or with the text of `where`.
[[noreturn]] void raise(std::string_view name, std::string message);
[[noreturn]] void raise(std::string_view name, place where);

// ---- When memory runs out ----
//
// A thrown exception takes memory of its own, apart from the error it
// carries, and where none is to be had the runtime can only terminate. So
// raise and storage_exhausted first make sure of that memory: when the
// system gives none, they give back the reserve that
// prepare_for_want_of_memory took, and when that is spent too they do not
// throw but call the end it was given, which ends the program with the
// error's report. Before prepare_for_want_of_memory, or without an end, they
// throw all the same.

// The end of a program whose error cannot be thrown. It must not return.
using error_end = void (*)(const named_error& error) noexcept;

// prepare_for_want_of_memory takes the reserve, keeps `end`, and makes
// storage_exhausted the handler of operator new. A reserve that cannot be had
// is left out.
void prepare_for_want_of_memory(error_end end) noexcept;

// storage_exhausted answers a want of memory: it raises std::bad_alloc,
// which a program reports as STORAGE_ERROR, or, when not even that can be
// thrown, ends the program with the report of STORAGE_ERROR.
[[noreturn]] void storage_exhausted();

// The one guard of the system: a failed check raises CHECK_ERROR with its place.
[[noreturn]] void check_failed(place where);

inline void check(bool ok, place where) {
    if (!ok) {
        check_failed(where);
    }
}

// Null-pointer guard: returns the pointer when it is set.
template <class T>
T* not_null(T* pointer, place where) {
    if (pointer == nullptr) {
        check_failed(where);
    }
    return pointer;
}

}  // namespace common
