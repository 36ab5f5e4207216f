// The peer of `Kestrin.exe /n`: a one-shot start at its least. One hidden
// top-level window, the first thing Kestrin makes too (so that user32, the
// display driver and the theming are loaded as they are for Kestrin), with
// the same diagnostic line once it exists ("Kestrin: first window"); then
// the pass's calls (pass_calls.h) N times, N from the command line (default
// 0); then the end.
#include <windows.h>

#include <cstdlib>

#include "hidden_window.h"
#include "pass_calls.h"

using namespace kestrin::peers;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    HWND window = CreateHiddenWindow(instance, "KestrinOneWindowPeer");
    if (!window) return 1;
    OutputDebugStringA("Kestrin: first window\n");

    const int passes = __argc > 1 ? std::atoi(__argv[1]) : 0;
    for (int i = 0; i < passes; ++i) TracedPass();
    DestroyWindow(window);
    return 0;
}
