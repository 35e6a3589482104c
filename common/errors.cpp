#include "common/errors.hpp"

#include <utility>

namespace common {

std::string place::text() const {
    std::string result(module);
    result += ':';
    result += std::to_string(line);
    return result;
}

named_error::named_error(std::string name, std::string message)
    : name_(std::move(name)), message_(std::move(message)) {
    what_ = name_;
    if (!message_.empty()) {
        what_ += " : ";
        what_ += message_;
    }
}

void raise(std::string_view name, std::string message) {
    throw named_error(std::string(name), std::move(message));
}

void raise(std::string_view name, place where) {
    raise(name, where.text());
}

void check_failed(place where) {
    raise(check_error_name, where);
}

}  // namespace common
