#pragma once
// Text onto the system clipboard.
#include <windows.h>

#include <string_view>

namespace kestrin {

// Replaces the clipboard's contents by the text (CF_TEXT, cp932), with
// `owner` as the window that opens the clipboard. False when the clipboard
// cannot be opened (another program holds it), emptied or given the data;
// the clipboard is closed again whichever way it ends.
bool SetClipboardText(HWND owner, std::string_view text);

}  // namespace kestrin
