#include "support/control_host.h"

#include "framework/application.h"
#include "framework/control.h"

namespace kestrin::test {

namespace {
constexpr char kHostClass[] = "KestrinTestControlHost";

void RegisterHostClass() {
    static const bool registered = [] {
        WNDCLASSEXA info{};
        info.cbSize = sizeof info;
        info.lpfnWndProc = DefWindowProcA;
        info.hInstance = GetModuleHandleA(nullptr);
        info.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        info.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        info.lpszClassName = kHostClass;
        return RegisterClassExA(&info) != 0;
    }();
    (void)registered;
}
}  // namespace

ControlHost::ControlHost(int clientWidth, int clientHeight, int left, int top) {
    RegisterHostClass();
    RECT frame{0, 0, clientWidth, clientHeight};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_TOPMOST);
    window_ = CreateWindowExA(WS_EX_TOPMOST, kHostClass, "ControlHost", style, left, top, frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlHost::Procedure));
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
}

ControlHost::~ControlHost() {
    if (IsWindow(window_)) {
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
        DestroyWindow(window_);
    }
    PumpMessages();
}

int ControlHost::Received(UINT message) const {
    const auto found = received_.find(message);
    return found == received_.end() ? 0 : found->second;
}

void ControlHost::ShowAndPaint() {
    SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(window_);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();
    GdiFlush();
}

RECT ControlHost::ScreenClientRect(HWND child) {
    RECT rect{};
    GetClientRect(child, &rect);
    MapWindowPoints(child, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

LRESULT CALLBACK ControlHost::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ControlHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self) ++self->received_[message];
    switch (message) {
        case WM_COMMAND:
            if (GuardedCall([&] { return static_cast<LRESULT>(Control::RouteCommand(wParam, lParam)); })) return 0;
            break;
        case WM_NOTIFY:
            if (GuardedCall([&] { return static_cast<LRESULT>(Control::RouteNotify(lParam)); })) return 0;
            break;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace kestrin::test
