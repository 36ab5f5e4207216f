#pragma once
// What the application's message loops need of a top-level window of ours
// (a form): the main form to show and close, forms waiting for release, and
// the key and mouse hooks of the loop. Kept apart from Form so that the
// application, which runs the loops, does not depend on the form class.
#include <windows.h>

#include "framework/window_binding.h"

namespace kestrin {

class TopLevelWindow : public WindowBinding {
public:
    virtual ~TopLevelWindow();

    virtual void Show() = 0;
    // Asks the window to close (its close query may refuse).
    virtual void Close() = 0;
    // Destroys the window; the object stays.
    virtual void Destroy() = 0;
    virtual bool InModalLoop() const noexcept = 0;
    // A key message for this window or one of its controls, before dispatch;
    // true when consumed.
    virtual bool PreTranslateMessage(MSG& message) = 0;
    // Presses the window's usable default button, as Enter in a dialog does;
    // false when it has none.
    virtual bool PressDefaultButton() = 0;
    // A mouse press on this window or one of its controls, after dispatch.
    virtual void MouseDownDispatched(const MSG& message) = 0;

    // The object bound to a window of this process, or nullptr.
    static TopLevelWindow* FromHandle(HWND window) noexcept;
    // The object bound to the top-level ancestor of a window.
    static TopLevelWindow* FromChild(HWND window) noexcept;

protected:
    explicit TopLevelWindow(Dispatcher dispatch) noexcept : WindowBinding(wkTopLevel, dispatch) {}
};

}  // namespace kestrin
