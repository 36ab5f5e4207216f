// Makes known numbers of GDI and USER objects for the test of the counters
// (gui_objects_e2e_test.cpp). Command line: the handle values of two
// inherited auto-reset events, "ready" and "go", then how many bitmaps, DCs,
// fonts, brushes, menus, icons and windows to make. Signals "ready" once
// its own set-up is done, makes the objects at "go", signals "ready" again,
// and ends at the next "go". The objects live until the process ends.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

HANDLE HandleArgument(int index) { return reinterpret_cast<HANDLE>(std::strtoul(__argv[index], nullptr, 10)); }
int CountArgument(int index) { return index < __argc ? std::atoi(__argv[index]) : 0; }

HWND MakeWindow() {
    return CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
}

HICON MakeIcon() {
    BYTE andBits[32 * 4];
    BYTE xorBits[32 * 4] = {};
    FillMemory(andBits, sizeof andBits, 0xFF);
    return CreateIcon(GetModuleHandleA(nullptr), 32, 32, 1, 1, andBits, xorBits);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 3) return 2;
    const HANDLE ready = HandleArgument(1);
    const HANDLE go = HandleArgument(2);
    // What every later window and DC would bring along on first use (the
    // thread's input-method window, the display DC) is made before the count.
    HWND first = MakeWindow();
    ReleaseDC(first, GetDC(first));
    SetEvent(ready);
    WaitForSingleObject(go, INFINITE);

    for (int i = CountArgument(3); i > 0; --i) CreateBitmap(4, 4, 1, 1, nullptr);
    for (int i = CountArgument(4); i > 0; --i) CreateCompatibleDC(nullptr);
    for (int i = CountArgument(5); i > 0; --i) CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    for (int i = CountArgument(6); i > 0; --i) CreateSolidBrush(RGB(i, 0, 0));
    for (int i = CountArgument(7); i > 0; --i) CreatePopupMenu();
    for (int i = CountArgument(8); i > 0; --i) MakeIcon();
    for (int i = CountArgument(9); i > 0; --i) MakeWindow();
    SetEvent(ready);
    WaitForSingleObject(go, INFINITE);
    return 0;
}
