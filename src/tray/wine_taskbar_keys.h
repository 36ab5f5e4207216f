#pragma once
// Under Wine, keys typed at the keyboard go to the thread of the window under
// the pointer, or of the window X's focus was left on (for a tray menu, the
// taskbar's), not to the foreground window's: after a dialog, the open tray
// menu took no keys. While a WineTaskbarKeys lives, and under Wine only, this
// thread's input is joined with the taskbar thread's. On Windows keys go to
// the foreground window, which the menu's owner is by then: nothing is joined
// there, and Explorer's input is never tied to the program's.
#include <windows.h>

namespace kestrin {

class WineTaskbarKeys {
public:
    // `owner`: the menu's owner, made the foreground and focus window of the joined input.
    explicit WineTaskbarKeys(HWND owner) noexcept;
    ~WineTaskbarKeys();
    WineTaskbarKeys(const WineTaskbarKeys&) = delete;
    WineTaskbarKeys& operator=(const WineTaskbarKeys&) = delete;

private:
    DWORD self_ = 0;
    DWORD taskbar_ = 0;  // 0: nothing joined
};

}  // namespace kestrin
