#pragma once
// TSingleClick: waits out the system's double-click time on a thread of its
// own, so that a single click on a tray icon can be told from the first half
// of a double click, then posts a message to the window that is to deliver
// the click on the GUI thread. The waiter holds nothing but the window
// handle and the message: it frees itself when it ends, a window that has
// gone in the meantime just misses the message, and a waiter still asleep
// when the program ends is simply cut off.
#include <windows.h>

namespace kestrin {

class TSingleClick {
public:
    // GetDoubleClickTime() + 50 ms.
    static DWORD Delay() noexcept;
    // Starts a waiter that posts `message` (wParam 0, lParam 0) to `target`
    // after Delay().
    static void Start(HWND target, UINT message);
};

}  // namespace kestrin
