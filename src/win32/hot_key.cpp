#include "win32/hot_key.h"

namespace kestrin {

bool GlobalHotKey::Register(HWND window, const char* atomName, UINT modifiers, UINT virtualKey) {
    Drop();
    GlobalAtom atom(GlobalAddAtomA(atomName));
    if (!atom || !RegisterHotKey(window, atom.get(), modifiers, virtualKey)) return false;
    window_ = window;
    atom_ = std::move(atom);
    return true;
}

void GlobalHotKey::Drop() noexcept {
    if (!atom_) return;
    UnregisterHotKey(window_, atom_.get());
    atom_.reset();
    window_ = nullptr;
}

}  // namespace kestrin
