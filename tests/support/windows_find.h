#pragma once
// Finding and waiting for top-level windows, the way a user's eye would.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/wait.h"

namespace kestrin::test {

struct WindowInfo {
    HWND handle = nullptr;
    std::string className;
    std::string caption;
    DWORD processId = 0;
    LONG style = 0;
    LONG exStyle = 0;
    RECT windowRect{};
    RECT clientRect{};  // in screen coordinates
    bool visible = false;
};

WindowInfo DescribeWindow(HWND window);
std::string ClassOf(HWND window);
std::string TextOf(HWND window);

// Top-level windows (optionally of one process) that match the predicate.
std::vector<WindowInfo> TopLevelWindows(DWORD processId = 0);

// The one search for a top-level window: the first in z-order of that class,
// with that caption (unless null), of that process (0: any), visible if
// `shownOnly`, for which `accept` holds (unless empty); nullptr if none. The
// caption is read last, and only when asked for: for a window of this process
// that is a message to the window's thread, which may be the one waiting.
HWND FindTopLevelWindow(const char* className, const char* caption, DWORD processId, bool shownOnly,
                        const std::function<bool(HWND)>& accept = {});

// Polls until a top-level window of that class (and caption, unless null)
// exists, or the timeout passes; processId 0 = any process.
HWND WaitForWindow(const char* className, const char* caption, DWORD timeoutMs, DWORD processId = 0);
// The same for a visible one: a window shows once its set-up is done (a
// dialog box after WM_INITDIALOG, with its texts in place).
HWND WaitForShownWindow(const char* className, const char* caption, DWORD timeoutMs, DWORD processId = 0);
bool WaitForWindowGone(const char* className, DWORD timeoutMs, DWORD processId = 0);

// A visible popup menu (class "#32768") of that process whose thread is
// tracking it, i.e. takes the keys and clicks meant for it; nullptr if none.
HWND TrackingMenu(DWORD processId);
HWND WaitForTrackingMenu(DWORD processId, DWORD timeoutMs = kGenerousMs);
// Whether typed input (SendInput) goes to the thread of that window now.
bool HasKeyboard(HWND window);

// Text of the child windows (labels, buttons) of a window, in z-order.
std::vector<std::string> ChildTexts(HWND window);

}  // namespace kestrin::test
