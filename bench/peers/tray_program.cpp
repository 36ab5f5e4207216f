// The peer of the resident Kestrin: the smallest tray program there is. One
// hidden top-level window, one icon added with Shell_NotifyIconA, a message
// loop, and nothing else (tray_peer.h); it takes the icon away again when
// its window is closed.
#include <windows.h>

#include "hidden_window.h"
#include "tray_peer.h"

using namespace kestrin::peers;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    HWND window = CreateHiddenWindow(instance, "KestrinTrayPeer", TrayWindowProc);
    if (!window || !AddTrayIcon(window, LoadIconA(nullptr, IDI_APPLICATION))) return 1;
    RunMessageLoop();
    return 0;
}
