#include "win32/system_dlls.h"

#include <string>

#include "win32/diagnostics.h"

namespace kestrin {

void RestrictLibrarySearchToSystem() noexcept {
    // Not on every system (it came with an update of Windows 7): looked up.
    const auto setDefault =
        FindLoadedExport<decltype(&SetDefaultDllDirectories)>("kernel32.dll", "SetDefaultDllDirectories");
    if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Without it, at least the current directory leaves the search.
    SetDllDirectoryA("");
}

HMODULE LoadSystemLibrary(const char* name) noexcept {
    if (HMODULE module = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
    if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
    // A system that does not know the flag: the full path says the same.
    char folder[MAX_PATH + 1] = {};
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length > MAX_PATH) return nullptr;
    try {
        return LoadLibraryA((std::string(folder, length) + "\\" + name).c_str());
    } catch (...) {
        TraceError("system library not loaded");
        return nullptr;
    }
}

}  // namespace kestrin
