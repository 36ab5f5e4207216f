#pragma once
// HtmlHelpA from the system's HTML Help control (hhctrl.ocx), loaded on first
// use so that a system without it still runs the program.
#include <windows.h>

#include <cstdint>
#include <string>

namespace kestrin {

// HH_DISPLAY_TOC and friends; the result is the viewer's window or null.
HWND HtmlHelp(HWND caller, const std::string& file, uint32_t command, uintptr_t data);

}  // namespace kestrin
