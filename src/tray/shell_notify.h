#pragma once
// The one door through which the tray icons talk to the shell's
// notification area. Tests put a recorder in front of it; everything else
// goes straight to Shell_NotifyIconA.
#include <windows.h>
#include <shellapi.h>

namespace kestrin {

using ShellNotifyFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAA data);

// Installs `function` (nullptr: Shell_NotifyIconA again) and returns the one
// that was installed. Any thread may call it; calls already under way finish
// with the old function.
ShellNotifyFunction SetShellNotifyFunction(ShellNotifyFunction function) noexcept;

// NIM_ADD, NIM_MODIFY or NIM_DELETE through the installed function; true on success.
bool ShellNotify(DWORD message, NOTIFYICONDATAA& data);

}  // namespace kestrin
