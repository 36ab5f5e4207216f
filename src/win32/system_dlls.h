#pragma once
// Libraries come from the system folder only: never from the program's own
// folder or the current directory, where anyone who can write a file could
// put a library of the same name.
#include <windows.h>

#include "win32/handles.h"

namespace kestrin {

// For the whole process, before anything loads a library at run time.
void RestrictLibrarySearchToSystem() noexcept;

// Loads a system library (the help viewer's, say) from the system folder.
HMODULE LoadSystemLibrary(const char* name) noexcept;

// The export `name` of a library the process has loaded already (kernel32,
// ntdll, user32, shell32), as a pointer of the given type; nullptr where the
// system lacks it: functions of a later Windows are looked up this way.
template <typename Function>
Function FindLoadedExport(const char* library, const char* name) noexcept {
    const HMODULE module = GetModuleHandleA(library);
    if (!module) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// A system library held for the lifetime of the object. Libraries the
// resident program needs only now and then (COM for a shortcut, the common
// controls for a dialog) are held this way rather than imported: an imported
// library stays for the whole run with its memory and its GDI objects.
class SystemLibrary {
public:
    SystemLibrary() noexcept = default;
    explicit SystemLibrary(const char* name) noexcept : module_(LoadSystemLibrary(name)) {}

    explicit operator bool() const noexcept { return static_cast<bool>(module_); }
    HMODULE get() const noexcept { return module_.get(); }

    // The export `name` as a pointer of the given type; nullptr when the
    // library is not loaded or lacks it.
    template <typename Function>
    Function Find(const char* name) const noexcept {
        if (!module_) return nullptr;
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_.get(), name)));
    }

    void reset() noexcept { module_.reset(); }

private:
    ModuleHandle module_;
};

}  // namespace kestrin
