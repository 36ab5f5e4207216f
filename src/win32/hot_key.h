#pragma once
// A global hot key registered on a window, identified by a global atom (the
// atom's value is the identifier WM_HOTKEY carries). Held for as long as the
// object holds it: Drop, or the object's end, unregisters the key and
// deletes the atom.
#include <windows.h>

#include <cstdint>

#include "win32/handles.h"

namespace kestrin {

class GlobalHotKey {
public:
    GlobalHotKey() noexcept = default;
    ~GlobalHotKey() { Drop(); }
    GlobalHotKey(const GlobalHotKey&) = delete;
    GlobalHotKey& operator=(const GlobalHotKey&) = delete;

    // Drops what is held, then adds the atom and registers the key on
    // `window` with the modifiers (MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4)
    // and the virtual key passed on unchanged. False when the system
    // refuses the key (taken by another program); nothing is held then.
    bool Register(HWND window, const char* atomName, UINT modifiers, UINT virtualKey);
    void Drop() noexcept;

    // The identifier of the registered key; 0 when none is held.
    uint32_t Id() const noexcept { return atom_.get(); }

private:
    HWND window_ = nullptr;
    GlobalAtom atom_;
};

}  // namespace kestrin
