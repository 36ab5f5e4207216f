#include "tray/wine_taskbar_keys.h"

#include "win32/wine.h"

namespace kestrin {

WineTaskbarKeys::WineTaskbarKeys(HWND owner) noexcept {
    if (!RunningUnderWine()) return;
    self_ = GetCurrentThreadId();
    const DWORD taskbar = GetWindowThreadProcessId(FindWindowA("Shell_TrayWnd", nullptr), nullptr);
    if (taskbar == 0 || taskbar == self_ || !AttachThreadInput(self_, taskbar, TRUE)) return;
    taskbar_ = taskbar;
    // The joined input may have the taskbar's foreground and focus.
    SetForegroundWindow(owner);
    SetFocus(owner);
}

WineTaskbarKeys::~WineTaskbarKeys() {
    if (taskbar_) AttachThreadInput(self_, taskbar_, FALSE);
}

}  // namespace kestrin
