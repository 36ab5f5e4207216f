#pragma once
// The one way a window of ours finds its object (the application, a form, a
// control): the binding holds the object from the window's first message
// (WM_NCCREATE) to its last (WM_NCDESTROY), and the object owns the window's
// handle in between. After WM_NCDESTROY the window never reaches the object,
// so either may outlive the other.
//
// The binding is kept twice, written and cleared together: in a window
// property, by which a lookup about any window (Find) tells ours from every
// other, and in the window's user data, which its own messages read (Wine
// answers a property from its server, some 35 us for every message, and the
// user data in the process).
#include <windows.h>

#include <cstdint>
#include <memory>

#include "win32/handles.h"

namespace kestrin {

class GraphicHost;

// What a bound object is, for the lookups that must tell them apart.
enum WindowKind : uint8_t { wkApplication, wkTopLevel, wkControl };

class WindowBinding {
public:
    WindowBinding(const WindowBinding&) = delete;
    WindowBinding& operator=(const WindowBinding&) = delete;

    HWND Handle() const noexcept { return window_.get(); }
    // The graphic controls drawn on the window; made with the first of them
    // (GraphicControl asks the window with kGraphicHostMessage).
    GraphicHost* Graphics() const noexcept { return graphics_.get(); }

protected:
    // The object's own handling of a message of its window: DispatchTo<T>
    // for a class T that has Dispatch and is a friend of this one.
    using Dispatcher = LRESULT (*)(WindowBinding& self, UINT message, WPARAM wParam, LPARAM lParam);
    template <typename T>
    static LRESULT DispatchTo(WindowBinding& self, UINT message, WPARAM wParam, LPARAM lParam) {
        return static_cast<T&>(self).Dispatch(message, wParam, lParam);
    }

    WindowBinding(WindowKind kind, Dispatcher dispatch) noexcept;
    ~WindowBinding();

    // The object of that kind bound to a window of this process, or nullptr.
    static WindowBinding* Find(HWND window, WindowKind kind) noexcept;

    // The procedure of our window classes: CreateWindowEx gets the object as
    // its last argument. Messages before WM_NCCREATE get DefWindowProcA.
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Windows of system classes get our procedure only once they exist, so
    // WM_NCCREATE never reaches it: they are bound here, right after
    // creation, the same way (the system's controls leave the user data to
    // the program); their class's procedure gets what the object leaves.
    void BindCreated(HWND window) noexcept;
    // From now on no message reaches the object.
    void Unbind() noexcept;
    // Unbinds, then destroys the window (the object takes no part).
    void DestroyUnbound() noexcept;
    // Destroys the window while bound (the object sees WM_DESTROY); its last
    // message lets go of the handle.
    void DestroyBound() noexcept {
        if (window_) DestroyWindow(window_.get());
    }
    // The handling of the procedure behind ours.
    LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam) {
        return CallWindowProcA(defaultProcedure_, Handle(), message, wParam, lParam);
    }

private:
    void Bind(HWND window) noexcept;
    static void Clear(HWND window) noexcept;

    WindowHandle window_;
    std::unique_ptr<GraphicHost> graphics_;
    Dispatcher dispatch_;
    WNDPROC defaultProcedure_ = DefWindowProcA;
    WindowKind kind_;
};

}  // namespace kestrin
