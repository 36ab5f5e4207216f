#include "platform/top_level_window.h"

namespace kestrin {

namespace {
constexpr char kTopLevelProperty[] = "Kestrin.TopLevel";
}  // namespace

TopLevelWindow::~TopLevelWindow() = default;

TopLevelWindow* TopLevelWindow::FromHandle(HWND window) noexcept {
    if (!window || !IsWindow(window)) return nullptr;
    // A property of another process's window would be a pointer into that process.
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return nullptr;
    return static_cast<TopLevelWindow*>(GetPropA(window, kTopLevelProperty));
}

TopLevelWindow* TopLevelWindow::FromChild(HWND window) noexcept {
    if (!window) return nullptr;
    return FromHandle(GetAncestor(window, GA_ROOT));
}

void TopLevelWindow::BindWindow(HWND window) noexcept { SetPropA(window, kTopLevelProperty, this); }

void TopLevelWindow::UnbindWindow(HWND window) noexcept { RemovePropA(window, kTopLevelProperty); }

}  // namespace kestrin
