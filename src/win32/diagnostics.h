#pragma once
// Diagnostic lines for a debugger (OutputDebugStringA): what a pass did and
// when. Invisible to the user; the end-to-end tests read them as a debugger.
#include <exception>
#include <string_view>

namespace kestrin {

void Trace(std::string_view line);
// "context: " and the error as DescribeError gives it (by default the one
// being handled). Every error that is caught and not passed on leaves one.
void TraceError(std::string_view context, std::exception_ptr error = std::current_exception()) noexcept;

}  // namespace kestrin
