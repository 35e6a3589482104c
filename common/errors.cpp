#include "common/errors.hpp"

#include <utility>

namespace common {

std::string place::text() const {
    std::string result(module);
    result += ':';
    result += std::to_string(line);
    return result;
}

named_error::named_error(std::string name, std::string message) {
    std::string what = name;
    if (!message.empty()) {
        what += " : ";
        what += message;
    }
    texts_ = std::make_shared<const texts>(texts{std::move(name), std::move(message), std::move(what)});
}

namespace {
// Made while the program loads, long before memory can run out.
const named_error out_of_storage(std::string(storage_error_name), "");
}  // namespace

const named_error& storage_error() noexcept {
    return out_of_storage;
}

void keep_first(std::optional<named_error>& first) noexcept {
    if (first) {
        return;
    }
    try {
        throw;
    } catch (const named_error& error) {
        first = error;
    } catch (...) {
        first = storage_error();
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
