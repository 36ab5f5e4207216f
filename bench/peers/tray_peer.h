#pragma once
// What the tray peers share: their icon in the tray, added as Kestrin adds
// its own (a callback message, the tip "Kestrin") and taken away when their
// hidden window goes, and their message loop.
#include <windows.h>

namespace kestrin::peers {

// The hidden window's procedure: at WM_DESTROY the icon goes and the loop
// ends.
LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

// NIM_ADD; once the shell has taken the icon, the same diagnostic line as
// Kestrin's ("Kestrin: tray icon added"), so that the benchmark times both
// starts the same way.
bool AddTrayIcon(HWND window, HICON icon) noexcept;

// Till WM_QUIT.
void RunMessageLoop() noexcept;

}  // namespace kestrin::peers
