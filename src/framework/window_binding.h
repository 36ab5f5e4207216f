#pragma once
// The one way a window of ours finds its object (the application, a form, a
// control): the binding holds the object from the window's first message
// to its last (WM_NCDESTROY), and the object owns the window's handle in
// between. After WM_NCDESTROY the window never reaches the object, so
// either may outlive the other.
//
// One slot holds the object: the user data of a window of our classes,
// bound at WM_NCCREATE (CreateWindowEx's last argument), read in the process
// for every message; the reference data of a comctl32 subclass for a control
// of a system class, hooked right after creation, which chains with any
// other subclass. (Wine's comctl32 keeps a window's subclasses in a window
// property: each message to such a control asks Wine's server three times.)
#include <windows.h>

#include <cstdint>
#include <memory>

#include "win32/common_controls.h"
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

    // The object of that kind bound to a window of this process, or nullptr
    // (for another program's window, one of another kind, or no window).
    static WindowBinding* Find(HWND window, WindowKind kind) noexcept;

    // The procedure of our window classes: CreateWindowEx gets the object as
    // its last argument. Messages before WM_NCCREATE get DefWindowProcA.
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Binds a window of a system class just made; the library is held for
    // as long as the window lives. False when the system refuses.
    bool Hook(HWND window, const CommonControls& library) noexcept;
    // From now on no message reaches the object.
    void Unbind() noexcept;
    // Unbinds, then destroys the window (the object takes no part).
    void DestroyUnbound() noexcept;
    // Destroys the window while bound (the object sees WM_DESTROY); its last
    // message lets go of the handle.
    void DestroyBound() noexcept {
        if (window_) DestroyWindow(window_.get());
    }
    // The window's own handling: DefWindowProcA for our classes, the next
    // subclass or the system's control for the others.
    LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

private:
    static LRESULT CALLBACK SubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR object);
    LRESULT Deliver(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    WindowHandle window_;
    std::unique_ptr<GraphicHost> graphics_;
    Dispatcher dispatch_;
    // The library's functions while a system control is hooked, else nullptr.
    const CommonControlsApi* subclass_ = nullptr;
    // The character typed into the control, while the object judges it.
    struct TypedCharacter;
    const TypedCharacter* typing_ = nullptr;
    WindowKind kind_;
    char leadByte_ = 0;          // of a double-byte character on its way to the control
    wchar_t highSurrogate_ = 0;  // the first half of a pair, waiting for the second
};

}  // namespace kestrin
