#pragma once
// Diagnostic lines for a debugger (OutputDebugStringA): what a pass did and
// when. Invisible to the user; the end-to-end tests read them as a debugger.
#include <string_view>

namespace kestrin {

void Trace(std::string_view line);

}  // namespace kestrin
