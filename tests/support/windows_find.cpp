#include "support/windows_find.h"

namespace kestrin::test {

WindowInfo DescribeWindow(HWND window) {
    WindowInfo info;
    info.handle = window;
    info.className = ClassOf(window);
    info.caption = TextOf(window);
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

std::string ClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
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
    reinterpret_cast<std::vector<std::string>*>(param)->push_back(TextOf(window));
    return TRUE;
}
}  // namespace

std::vector<WindowInfo> TopLevelWindows(DWORD processId) {
    std::vector<WindowInfo> windows;
    EnumState state{processId, &windows};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&state));
    return windows;
}

HWND FindTopLevelWindow(const char* className, const char* caption, DWORD processId, bool shownOnly,
                        const std::function<bool(HWND)>& accept) {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, className, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (processId != 0 && owner != processId) continue;
        if (shownOnly && !IsWindowVisible(window)) continue;
        if (accept && !accept(window)) continue;
        if (caption && TextOf(window) != caption) continue;
        return window;
    }
    return nullptr;
}

static HWND WaitForFound(const char* className, const char* caption, DWORD timeoutMs, DWORD processId, bool shown) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindTopLevelWindow(className, caption, processId, shown)) != nullptr; }, timeoutMs);
    return found;
}

HWND WaitForWindow(const char* className, const char* caption, DWORD timeoutMs, DWORD processId) {
    return WaitForFound(className, caption, timeoutMs, processId, false);
}

HWND WaitForShownWindow(const char* className, const char* caption, DWORD timeoutMs, DWORD processId) {
    return WaitForFound(className, caption, timeoutMs, processId, true);
}

bool WaitForWindowGone(const char* className, DWORD timeoutMs, DWORD processId) {
    return WaitFor([&] { return FindTopLevelWindow(className, nullptr, processId, false) == nullptr; }, timeoutMs);
}

HWND TrackingMenu(DWORD processId) {
    // The menu's thread is in menu mode from the start of its tracking loop
    // to its end; before that, keys would go to its queue unread by the menu,
    // and after it, to whatever comes next.
    return FindTopLevelWindow("#32768", nullptr, processId, true, [](HWND menu) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(GetWindowThreadProcessId(menu, nullptr), &info) && (info.flags & GUI_INMENUMODE);
    });
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
