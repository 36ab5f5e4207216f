#include "platform/diagnostics.h"

#include <windows.h>

namespace kestrin {

void Trace(const std::string& line) {
    const std::string text = "Kestrin: " + line + "\n";
    OutputDebugStringA(text.c_str());
}

}  // namespace kestrin
