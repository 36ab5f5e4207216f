#include "framework/top_level_window.h"

namespace kestrin {

TopLevelWindow::~TopLevelWindow() = default;

TopLevelWindow* TopLevelWindow::FromHandle(HWND window) noexcept {
    return static_cast<TopLevelWindow*>(Find(window, wkTopLevel));
}

TopLevelWindow* TopLevelWindow::FromChild(HWND window) noexcept { return FromHandle(GetAncestor(window, GA_ROOT)); }

}  // namespace kestrin
