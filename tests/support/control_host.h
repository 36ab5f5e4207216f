#pragma once
// A plain top-level window for testing controls without a form: it routes
// its children's WM_COMMAND / WM_NOTIFY back to their control objects, as a
// form does, and counts the messages it receives.
#include <windows.h>

#include <map>

namespace kestrin::test {

class ControlHost {
public:
    // A visible, topmost window whose client area has the given size, at
    // (left, top) of the screen.
    ControlHost(int clientWidth = 400, int clientHeight = 300, int left = 100, int top = 100);
    ~ControlHost();
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    HWND Handle() const noexcept { return window_; }
    // Messages of one kind that reached the window procedure so far.
    int Received(UINT message) const;
    // Brings the window to the front and paints everything now.
    void ShowAndPaint();
    // Screen rectangle of a child window's client area.
    static RECT ScreenClientRect(HWND child);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    std::map<UINT, int> received_;
};

// Handles every message waiting for this thread.
void PumpMessages();

}  // namespace kestrin::test
