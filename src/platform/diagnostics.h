#pragma once
// Diagnostic lines for a debugger (OutputDebugStringA): what a pass did and
// when. Invisible to the user; the end-to-end tests read them as a debugger.
#include <string>

namespace kestrin {

void Trace(const std::string& line);

}  // namespace kestrin
