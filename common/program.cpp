#include "program.hpp"

#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <exception>
#include <new>
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

void finalise() noexcept {
    out_file::close_all();
    std::fflush(stdout);
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
    // A closed pipe must be a reported write error, not a signal.
    std::signal(SIGPIPE, SIG_IGN);
    try {
        run_on_large_stack([main_procedure] {
            main_procedure();
            out_file::close_all();
            standard_output().flush();
        });
    } catch (const named_error& error) {
        finalise();
        report(error.name(), error.message());
        return 1;
    } catch (const std::bad_alloc&) {
        finalise();
        report(storage_error_name, "");
        return 1;
    } catch (...) {
        finalise();
        report("PROGRAM_ERROR", "");
        return 1;
    }
    return 0;
}

}  // namespace common
