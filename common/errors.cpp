#include "common/errors.hpp"

#include <cstdlib>
#include <new>
#include <utility>

namespace common {

std::string place::text() const {
    std::string result(module);
    result += ':';
    result += std::to_string(line);
    return result;
}

namespace {

// The texts of an error made at run time, and the views of them that its
// copies share.
struct owned_texts {
    std::string name;
    std::string message;
    std::string what;
    named_error::texts views;
};

constexpr named_error::texts storage_error_texts{storage_error_name, "", "STORAGE_ERROR"};
static_assert(storage_error_texts.name == storage_error_texts.what);

}  // namespace

named_error::named_error(std::string name, std::string message) {
    std::string what = name;
    if (!message.empty()) {
        what += " : ";
        what += message;
    }
    auto owned =
        std::make_shared<owned_texts>(owned_texts{std::move(name), std::move(message), std::move(what), {}});
    owned->views = {owned->name, owned->message, owned->what.c_str()};
    const texts* views = &owned->views;
    texts_ = std::shared_ptr<const texts>(std::move(owned), views);  // moved: no count changes
}

// An empty owner: the texts are borrowed, and copies count no references.
named_error::named_error(const texts& constant) noexcept
    : texts_(std::shared_ptr<const texts>(), &constant) {}

const named_error& storage_error() noexcept {
    static const named_error out_of_storage(storage_error_texts);
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

namespace {

// Memory held back from the start of a program and given back when memory
// runs out, so that the exception that reports the want, and the unwinding
// after it, find some. Null when it is spent or could not be had.
constexpr std::size_t reserve_size = std::size_t{64} << 10;
void* reserve = nullptr;

error_end end_of_program = nullptr;

// More than an exception and the runtime's header of it take, and more than
// the C library's allocator keeps in its caches of small blocks: a block of
// this size, given back, serves the smaller request of the exception that
// follows, where a small one would wait in a cache for a request of its own
// size.
constexpr std::size_t exception_room = std::size_t{4} << 10;

// room_for_exception returns true when the memory that an exception takes
// is to be had, if need be once the reserve is given back.
bool room_for_exception() noexcept {
    // Through a volatile, so that the compiler cannot drop the allocation
    // as unused and take it for granted.
    void* volatile room = std::malloc(exception_room);
    if (room != nullptr) {
        std::free(room);
        return true;
    }
    if (reserve != nullptr) {
        std::free(reserve);
        reserve = nullptr;
        return true;
    }
    return false;
}

// room_or_end returns when an exception can be thrown; otherwise it ends
// the program with `error`, where there is an end to call.
void room_or_end(const named_error& error) noexcept {
    if (!room_for_exception() && end_of_program != nullptr) {
        end_of_program(error);
    }
}

}  // namespace

void prepare_for_want_of_memory(error_end end) noexcept {
    if (reserve == nullptr) {
        reserve = std::malloc(reserve_size);
    }
    end_of_program = end;
    std::set_new_handler(storage_exhausted);
}

void storage_exhausted() {
    room_or_end(storage_error());
    throw std::bad_alloc();
}

void raise(std::string_view name, std::string message) {
    named_error error(std::string(name), std::move(message));
    room_or_end(error);
    throw std::move(error);  // moved, so that no count of its texts' owner changes
}

void raise(std::string_view name, place where) {
    raise(name, where.text());
}

void check_failed(place where) {
    raise(check_error_name, where);
}

}  // namespace common
