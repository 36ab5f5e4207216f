#include "tray/single_click.h"

#include "win32/worker_thread.h"

namespace kestrin {

namespace {
// The second click of a double click may come up to the double-click time
// after the first; the margin covers the shell's delay in passing it on.
constexpr DWORD kMarginMs = 50;
}  // namespace

DWORD TSingleClick::Delay() noexcept { return GetDoubleClickTime() + kMarginMs; }

void TSingleClick::Start(HWND target, UINT message) {
    const DWORD delay = Delay();
    WorkerThread([target, message, delay] {
        Sleep(delay);
        PostMessageA(target, message, 0, 0);
    }).Detach();
}

}  // namespace kestrin
