// What an action raised, in the words of the unhandled-error report.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/errors.hpp"

namespace test_support {

// raised runs `action` and returns the named error that left it as the
// unhandled-error report names it: "NAME : message", or "NAME" alone when
// the message is empty. It returns "" when the action ended normally; any
// other exception passes on.
inline std::string raised(const std::function<void()>& action) {
    try {
        action();
    } catch (const common::named_error& error) {
        const std::string name(error.name());
        return error.message().empty() ? name : name + " : " + std::string(error.message());
    }
    return "";
}

// error_name returns the NAME of such a text, for the errors whose message
// is left to the module.
inline std::string error_name(std::string_view raised_text) {
    return std::string(raised_text.substr(0, raised_text.find(" : ")));
}

// raised_name returns the NAME alone of what `action` raised.
inline std::string raised_name(const std::function<void()>& action) {
    return error_name(raised(action));
}

// report returns what raising the error `name` at `where` gives, in the
// words of the unhandled-error report: "NAME : module:line".
inline std::string report(std::string_view name, common::place where) {
    return std::string(name) + " : " + where.text();
}

// report_in returns how the report of the error `name` begins when it was
// raised somewhere in `module`: "NAME : module:", for the internal checks,
// whose lines are their module's own affair.
inline std::string report_in(std::string_view name, std::string_view module) {
    return std::string(name) + " : " + std::string(module) + ":";
}

}  // namespace test_support
