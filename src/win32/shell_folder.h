#pragma once
// The path of one of the shell's named folders (documents, desktop,
// Startup...), as the shell reports it in the ANSI code page.
#include <windows.h>

#include <string>

namespace kestrin {

// The folder numbered `csidl` (CSIDL_PERSONAL, CSIDL_STARTUP, ...), looked up
// with `owner` as the window for any message of the shell. "" when the shell
// has no file-system path for it.
std::string ShellFolderPath(HWND owner, int csidl);

}  // namespace kestrin
