#pragma once
// Libraries come from the system folder only: never from the program's own
// folder or the current directory, where anyone who can write a file could
// put a library of the same name.
#include <windows.h>

namespace kestrin {

// For the whole process, before anything loads a library at run time.
void RestrictLibrarySearchToSystem() noexcept;

// Loads a system library (the help viewer's, say) from the system folder.
HMODULE LoadSystemLibrary(const char* name) noexcept;

}  // namespace kestrin
