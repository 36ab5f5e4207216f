// The peer of the resident Kestrin: the smallest tray program there is. One
// hidden top-level window, one icon added with Shell_NotifyIconA, a message
// loop, and nothing else. Once the shell has taken the icon it writes the
// same diagnostic line as Kestrin ("Kestrin: tray icon added"), so that the
// benchmark times both starts the same way; it takes the icon away again
// when its window is closed.
#include <windows.h>
#include <shellapi.h>

namespace {

constexpr char kClassName[] = "KestrinTrayPeer";
constexpr UINT kIconId = 1;
constexpr UINT kCallbackMessage = WM_APP + 1;

NOTIFYICONDATAA IconData(HWND window) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kIconId;
    return data;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        NOTIFYICONDATAA data = IconData(window);
        Shell_NotifyIconA(NIM_DELETE, &data);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass)) return 1;
    HWND window = CreateWindowExA(0, kClassName, "", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;

    NOTIFYICONDATAA data = IconData(window);
    data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    lstrcpynA(data.szTip, "Kestrin", sizeof data.szTip);
    if (!Shell_NotifyIconA(NIM_ADD, &data)) return 1;
    OutputDebugStringA("Kestrin: tray icon added\n");

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
