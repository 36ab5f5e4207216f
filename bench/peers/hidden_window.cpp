#include "hidden_window.h"

namespace kestrin::peers {

HWND CreateHiddenWindow(HINSTANCE instance, const char* className, WNDPROC procedure) noexcept {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className;
    if (!RegisterClassA(&windowClass)) return nullptr;
    return CreateWindowExA(0, className, "", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
}

}  // namespace kestrin::peers
