#include "win32/diagnostics.h"

#include <windows.h>

#include <string>

#include "win32/portable/error.h"

namespace kestrin {

void Trace(std::string_view line) {
    std::string text("Kestrin: ");
    text.append(line).append("\n");
    OutputDebugStringA(text.c_str());
}

void TraceError(std::string_view context, std::exception_ptr error) noexcept {
    try {
        Trace(std::string(context) + ": " + DescribeError(std::move(error)));
    } catch (...) {
        // No memory for the line: the context alone, from fixed text.
        OutputDebugStringA("Kestrin: error not described (no memory)\n");
    }
}

}  // namespace kestrin
