#pragma once
// Modal message boxes of the program, in cp932 text.
#include <windows.h>

#include <string>

namespace kestrin {

// On the main thread the box is owned by the thread's active window, or the
// application window when none is active, so that it stays in front of the
// program's windows and disables them meanwhile; on other threads it has no
// owner (a window of another thread must not be disabled from here).
// Safe to call from any thread. Returns the button pressed (IDOK, ...).
int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags);

}  // namespace kestrin
