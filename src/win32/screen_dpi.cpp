#include "win32/screen_dpi.h"

#include <windows.h>

#include <atomic>

#include "win32/handles.h"
#include "win32/portable/display_scale.h"

namespace kestrin {

namespace {
// 0 until asked. Two threads that ask at once both read the same answer.
constinit std::atomic<int> screenDpi{0};
}  // namespace

int ScreenDpi() noexcept {
    int dpi = screenDpi.load(std::memory_order_relaxed);
    if (dpi) return dpi;
    // The density is the system's for the session: a process aware of the
    // system's DPI keeps it until it ends, also when the user changes it.
    // A memory DC of the screen has the screen's capabilities, and goes
    // with its deletion; the screen's own DC would stay in the process's
    // cache of window DCs for the rest of the run.
    const UniqueHandle<NullHandleTraits<HDC, DeleteDC>> screen(CreateCompatibleDC(nullptr));
    dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    if (dpi <= 0) dpi = kDesignDpi;
    screenDpi.store(dpi, std::memory_order_relaxed);
    return dpi;
}

int Scaled(int value) noexcept { return ScaleToDpi(value, ScreenDpi()); }

int ScaledLine(int value) noexcept { return ScaleLineToDpi(value, ScreenDpi()); }

}  // namespace kestrin
