#pragma once
// Reading and writing text on the system clipboard (CF_TEXT, cp932).
#include <windows.h>

#include <optional>
#include <string>

namespace kestrin {

// The clipboard's text, or nothing when it holds none (or cannot be opened).
std::optional<std::string> ClipboardText(HWND owner);

}  // namespace kestrin
