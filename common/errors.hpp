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
class named_error : public std::exception {
public:
    named_error(std::string name, std::string message);

    [[nodiscard]] const std::string& name() const noexcept { return texts_->name; }
    [[nodiscard]] const std::string& message() const noexcept { return texts_->message; }
    // is returns true when this is the error named `name`: the test of a
    // handler that takes one error and lets every other pass on.
    [[nodiscard]] bool is(std::string_view name) const noexcept { return texts_->name == name; }
    [[nodiscard]] const char* what() const noexcept override { return texts_->what.c_str(); }

private:
    struct texts {
        std::string name;
        std::string message;
        std::string what;
    };
    std::shared_ptr<const texts> texts_;
};

static_assert(std::is_nothrow_copy_constructible_v<named_error> &&
              std::is_nothrow_copy_assignable_v<named_error>);

// storage_error returns STORAGE_ERROR with no message, made before it is
// needed: where memory has run out, no new error could be made.
const named_error& storage_error() noexcept;

// keep_first, called in a handler, keeps the error it handles in `first`
// unless `first` holds one already. Anything that is not a named error
// stands for an error that could not be made: STORAGE_ERROR.
void keep_first(std::optional<named_error>& first) noexcept;

[[noreturn]] void raise(std::string_view name, std::string message);
[[noreturn]] void raise(std::string_view name, place where);

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
