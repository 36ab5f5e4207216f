#include "support/windows_find.h"

namespace kestrin::test {

WindowInfo DescribeWindow(HWND window) {
    WindowInfo info;
    info.handle = window;
    char text[512] = {};
    GetClassNameA(window, text, sizeof text);
    info.className = text;
    text[0] = 0;
    GetWindowTextA(window, text, sizeof text);
    info.caption = text;
    GetWindowThreadProcessId(window, &info.processId);
    info.style = GetWindowLongA(window, GWL_STYLE);
    info.exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    GetWindowRect(window, &info.windowRect);
    GetClientRect(window, &info.clientRect);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&info.clientRect, origin.x, origin.y);
    info.visible = IsWindowVisible(window) != FALSE;
    return info;
}

namespace {
struct EnumState {
    DWORD processId;
    std::vector<WindowInfo>* out;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    auto* state = reinterpret_cast<EnumState*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (state->processId == 0 || state->processId == pid) state->out->push_back(DescribeWindow(window));
    return TRUE;
}

BOOL CALLBACK CollectChildText(HWND window, LPARAM param) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    reinterpret_cast<std::vector<std::string>*>(param)->push_back(text);
    return TRUE;
}
}  // namespace

std::vector<WindowInfo> TopLevelWindows(DWORD processId) {
    std::vector<WindowInfo> windows;
    EnumState state{processId, &windows};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&state));
    return windows;
}

static HWND FindOne(const char* className, const char* caption, DWORD processId, bool shownOnly) {
    for (const WindowInfo& w : TopLevelWindows(processId)) {
        if (w.className != className) continue;
        if (caption && w.caption != caption) continue;
        if (shownOnly && !w.visible) continue;
        return w.handle;
    }
    return nullptr;
}

HWND WaitForWindow(const char* className, const char* caption, DWORD timeoutMs, DWORD processId) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindOne(className, caption, processId, false)) != nullptr; }, timeoutMs);
    return found;
}

HWND WaitForShownWindow(const char* className, const char* caption, DWORD timeoutMs, DWORD processId) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindOne(className, caption, processId, true)) != nullptr; }, timeoutMs);
    return found;
}

bool WaitForWindowGone(const char* className, DWORD timeoutMs, DWORD processId) {
    return WaitFor([&] { return FindOne(className, nullptr, processId, false) == nullptr; }, timeoutMs);
}

HWND TrackingMenu(DWORD processId) {
    // By class only: asking for a caption would wait for the window's thread
    // to answer, and that thread may be the one waiting for this call.
    HWND menu = nullptr;
    while ((menu = FindWindowExA(nullptr, menu, "#32768", nullptr)) != nullptr) {
        DWORD owner = 0;
        const DWORD thread = GetWindowThreadProcessId(menu, &owner);
        if (owner != processId || !IsWindowVisible(menu)) continue;
        // The menu's thread is in menu mode from the start of its tracking
        // loop to its end; before that, keys would go to its queue unread
        // by the menu, and after it, to whatever comes next.
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMENUMODE)) return menu;
    }
    return nullptr;
}

HWND WaitForTrackingMenu(DWORD processId, DWORD timeoutMs) {
    HWND menu = nullptr;
    WaitFor([&] { return (menu = TrackingMenu(processId)) != nullptr; }, timeoutMs);
    return menu;
}

bool HasKeyboard(HWND window) {
    HWND foreground = GetForegroundWindow();
    return foreground && GetWindowThreadProcessId(foreground, nullptr) == GetWindowThreadProcessId(window, nullptr);
}

std::vector<std::string> ChildTexts(HWND window) {
    std::vector<std::string> texts;
    EnumChildWindows(window, CollectChildText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

}  // namespace kestrin::test
