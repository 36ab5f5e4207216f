#pragma once
// Text on the system clipboard (CF_TEXT, cp932).
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace kestrin {

// The clipboard's text, or nothing when it holds none (or cannot be opened).
std::optional<std::string> ClipboardText(HWND owner);

// Replaces the clipboard's contents by the text, with `owner` as the window
// that opens the clipboard. False when the clipboard cannot be opened
// (another program holds it), emptied or given the data; the clipboard is
// closed again whichever way it ends.
bool SetClipboardText(HWND owner, std::string_view text);

}  // namespace kestrin
