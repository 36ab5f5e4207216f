#pragma once
// Libraries come from the system folder only: never from the program's own
// folder or the current directory, where anyone who can write a file could
// put a library of the same name.
#include <windows.h>

#include <utility>

namespace kestrin {

// For the whole process, before anything loads a library at run time.
void RestrictLibrarySearchToSystem() noexcept;

// Loads a system library (the help viewer's, say) from the system folder.
HMODULE LoadSystemLibrary(const char* name) noexcept;

// A system library held for the lifetime of the object. Libraries the
// resident program needs only now and then (COM for a shortcut, the common
// controls for a dialog) are held this way rather than imported: an imported
// library stays for the whole run with its memory and its GDI objects.
class SystemLibrary {
public:
    SystemLibrary() noexcept = default;
    explicit SystemLibrary(const char* name) noexcept : module_(LoadSystemLibrary(name)) {}
    ~SystemLibrary() { reset(); }
    SystemLibrary(SystemLibrary&& other) noexcept : module_(std::exchange(other.module_, nullptr)) {}
    SystemLibrary& operator=(SystemLibrary&& other) noexcept {
        if (this != &other) {
            reset();
            module_ = std::exchange(other.module_, nullptr);
        }
        return *this;
    }
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    explicit operator bool() const noexcept { return module_ != nullptr; }
    HMODULE get() const noexcept { return module_; }

    // The export `name` as a pointer of the given type; nullptr when the
    // library is not loaded or lacks it.
    template <typename Function>
    Function Find(const char* name) const noexcept {
        if (!module_) return nullptr;
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

    void reset() noexcept {
        if (module_) FreeLibrary(std::exchange(module_, nullptr));
    }

private:
    HMODULE module_ = nullptr;
};

}  // namespace kestrin
