#include "program.hpp"

#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <exception>
#include <new>
#include <optional>
#include <string>

#include "errors.hpp"
#include "textio.hpp"

namespace common {
namespace {

struct thread_call {
    const std::function<void()>* body;
    std::exception_ptr failure;
};

void* thread_entry(void* argument) {
    auto* call = static_cast<thread_call*>(argument);
    try {
        (*call->body)();
    } catch (...) {
        call->failure = std::current_exception();
    }
    return nullptr;
}

void report(std::string_view name, std::string_view message) {
    std::string text = "\nraised ";
    text += name;
    if (!message.empty()) {
        text += " : ";
        text += message;
    }
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

// Finalisation: every file still open is closed, then standard output is
// flushed. `first` is the first error of the program, if any; a failure
// that came before it, or the first one met here when there is none, takes
// its place.
void finalise(std::optional<named_error>& first) noexcept {
    out_file::close_all(first);
    try {
        standard_output().flush();
    } catch (const named_error& error) {
        if (!first) {
            first = error;
        }
    }
}

}  // namespace

void run_on_large_stack(const std::function<void()>& body, std::size_t stack_size) {
    thread_call call{&body, nullptr};
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, stack_size);
    pthread_t thread;
    const int started = pthread_create(&thread, &attributes, thread_entry, &call);
    pthread_attr_destroy(&attributes);
    if (started != 0) {
        // No thread to be had: run on the stack we have.
        body();
        return;
    }
    pthread_join(thread, nullptr);
    if (call.failure) {
        std::rethrow_exception(call.failure);
    }
}

int run_program(void (*main_procedure)()) {
    // A closed pipe, or a file at the file-size limit, must be a reported
    // write error, not a signal.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    std::optional<named_error> first;
    try {
        run_on_large_stack(main_procedure);
    } catch (const named_error& error) {
        first = error;
    } catch (const std::bad_alloc&) {
        first = named_error(std::string(storage_error_name), "");
    } catch (...) {
        first = named_error("PROGRAM_ERROR", "");
    }
    finalise(first);
    if (!first) {
        return 0;
    }
    report(first->name(), first->message());
    return 1;
}

}  // namespace common
