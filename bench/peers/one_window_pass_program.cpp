// The peer of `Kestrin.exe /n`: a one-shot start at its least. One hidden
// top-level window, the first thing Kestrin makes too (so that user32, the
// display driver and the theming are loaded as they are for Kestrin), with
// the same diagnostic line once it exists ("Kestrin: first window"); then
// the pass's calls (pass_calls.h) N times, N from the command line (default
// 0); then the end.
#include <windows.h>

#include <cstdlib>

#include "pass_calls.h"

namespace {

constexpr char kClassName[] = "KestrinOneWindowPeer";

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass)) return 1;
    HWND window = CreateWindowExA(0, kClassName, "", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    OutputDebugStringA("Kestrin: first window\n");

    const int passes = __argc > 1 ? std::atoi(__argv[1]) : 0;
    for (int i = 0; i < passes; ++i) kestrin::peers::TracedPass();
    DestroyWindow(window);
    return 0;
}
