#include "tray_peer.h"

#include <shellapi.h>

namespace kestrin::peers {

namespace {

constexpr UINT kIconId = 1;
constexpr UINT kCallbackMessage = WM_APP + 1;

NOTIFYICONDATAA IconData(HWND window) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kIconId;
    return data;
}

}  // namespace

LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_DESTROY) {
        NOTIFYICONDATAA data = IconData(window);
        Shell_NotifyIconA(NIM_DELETE, &data);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool AddTrayIcon(HWND window, HICON icon) noexcept {
    NOTIFYICONDATAA data = IconData(window);
    data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = icon;
    lstrcpynA(data.szTip, "Kestrin", sizeof data.szTip);
    if (!Shell_NotifyIconA(NIM_ADD, &data)) return false;
    OutputDebugStringA("Kestrin: tray icon added\n");
    return true;
}

void RunMessageLoop() noexcept {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
}

}  // namespace kestrin::peers
