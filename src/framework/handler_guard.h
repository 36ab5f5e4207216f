#pragma once
// Window procedures of the framework run their bodies through GuardedCall:
// it counts how deep in handlers the thread is (deferred releases use the
// depth to tell when a handler has returned), and hands an exception to the
// top-level error handler instead of letting it cross the system's frames,
// where it could not be caught.
#include <windows.h>

#include <exception>

namespace kestrin {

// Marks a handler body on the stack of this thread.
class HandlerScope {
public:
    HandlerScope() noexcept;
    ~HandlerScope();
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

    static int Depth() noexcept;
};

// Where exceptions that reach the top of a handler go; the application
// installs its error handler here. Without one they are dropped.
using UnhandledReporter = void (*)(std::exception_ptr) noexcept;
void SetUnhandledReporter(UnhandledReporter reporter) noexcept;
void ReportUnhandled(std::exception_ptr error) noexcept;

template <typename Body>
LRESULT GuardedCall(Body&& body, LRESULT onError = 0) noexcept {
    HandlerScope scope;
    try {
        return body();
    } catch (...) {
        ReportUnhandled(std::current_exception());
    }
    return onError;
}

}  // namespace kestrin
