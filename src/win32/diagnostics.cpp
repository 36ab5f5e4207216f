#include "win32/diagnostics.h"

#include <windows.h>

#include <string>

namespace kestrin {

void Trace(std::string_view line) {
    std::string text("Kestrin: ");
    text.append(line).append("\n");
    OutputDebugStringA(text.c_str());
}

}  // namespace kestrin
