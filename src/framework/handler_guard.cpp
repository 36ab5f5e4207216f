#include "framework/handler_guard.h"

#include <atomic>

#include "win32/diagnostics.h"

namespace kestrin {

namespace {
thread_local int handlerDepth = 0;
std::atomic<UnhandledReporter> reporter{nullptr};
}  // namespace

HandlerScope::HandlerScope() noexcept { ++handlerDepth; }
HandlerScope::~HandlerScope() { --handlerDepth; }
int HandlerScope::Depth() noexcept { return handlerDepth; }

void SetUnhandledReporter(UnhandledReporter installed) noexcept { reporter.store(installed); }

void ReportUnhandled(std::exception_ptr error) noexcept {
    if (const UnhandledReporter report = reporter.load())
        report(std::move(error));
    else
        TraceError("error with no one to report it to", std::move(error));
}

}  // namespace kestrin
