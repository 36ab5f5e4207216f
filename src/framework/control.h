#pragma once
// Base of every child control: owns the control's window, binds the window
// to this object (WindowBinding), and takes back the notifications
// (WM_COMMAND, WM_NOTIFY) that the system sends to the parent, so that each
// control handles its own events through handler members such as OnClick.
//
// A control is made from its arguments (ControlArgs). Some styles are fixed
// by the system when the window is created (a multi-line edit's alignment,
// a button's kind): changing one re-creates the window, which keeps text,
// font, bounds, visibility, enabled state, identifier, place in the tab
// order and the focus.
//
// A control of our own classes sees every message from WM_NCCREATE on; one
// of a system class, from right after its creation. The characters typed
// that a control sees are cp932, as in the rest of the program.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "framework/bounds.h"
#include "win32/common_controls.h"
#include "framework/component.h"
#include "win32/handles.h"
#include "win32/input_state.h"
#include "win32/portable/shift_state.h"
#include "framework/window_binding.h"
#include "framework/window_class.h"

namespace kestrin {

class DialogButton;

enum class TextAlignment { Left, Center, Right };

struct ControlArgs {
    std::string text;
    Bounds bounds;
    DWORD style = WS_VISIBLE;  // WS_CHILD is always added
    DWORD exStyle = 0;
    HFONT font = nullptr;  // nullptr: the program's UI font
};

// Whether a window takes a Tab, arrow, Enter or Esc key itself, by its
// WM_GETDLGCODE asked without the message: the system's edit would take a
// message as the sign of a dialog and switch to its dialog mode.
bool KeyWantedByWindow(HWND window, WORD key);

class Control : public Component, public WindowBinding {
public:
    // Looks at a message before the control's own handling; return true to
    // consume it (the result goes back to the sender).
    using MessageFilter = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;
    // A key pressed while the control has the focus; set `key` to 0 to consume it.
    using KeyEvent = std::function<void(Control& sender, WORD& key, ShiftState shift)>;
    // A character typed into the control; set `key` to '\0' to consume it.
    using KeyPressEvent = std::function<void(Control& sender, char& key)>;
    // A mouse button pressed on the control, after the press has been
    // handled (a control that takes the focus has it by then).
    using MouseEvent = std::function<void(Control& sender, MouseButton button, ShiftState shift, int x, int y)>;

    explicit Control(HWND parent);
    ~Control() override;

    // The control object bound to a window, or nullptr for a window that is
    // not one of ours (or no window).
    static Control* FromHandle(HWND window) noexcept;

    // For a parent's window procedure: hand WM_COMMAND / WM_NOTIFY from a
    // child back to the child's object. False when no control of ours claimed it.
    static bool RouteCommand(WPARAM wParam, LPARAM lParam);
    static bool RouteNotify(LPARAM lParam);

    // Notifications from the control's own window, as routed by its parent.
    virtual bool HandleCommand(WORD notifyCode);
    virtual bool HandleNotify(NMHDR* header);

    // A button that a form presses for Enter or Esc, or nullptr.
    virtual DialogButton* AsDialogButton() noexcept { return nullptr; }

    // Whether the control takes a Tab, arrow, Enter or Esc key itself rather
    // than leave it to its form's dialog keys. The base asks the window's
    // WM_GETDLGCODE (see KeyWantedByWindow).
    virtual bool WantsKey(WORD key) const;

    HWND Parent() const noexcept { return parent_; }
    int Id() const;

    void SetBounds(int x, int y, int width, int height);
    // Position in the parent's client coordinates, and size.
    Bounds GetBounds() const;

    void SetEnabled(bool enabled);
    bool Enabled() const;
    void SetTabStop(bool tabStop);

    void SetText(std::string_view text);
    std::string Text() const;

    void SetFont(HFONT font);
    HFONT Font() const;

    void Focus();

    // The area in which children of this control lay themselves out (client
    // coordinates); a panel leaves out its bevels.
    virtual RECT ClientArea() const;

    // Destroys the window and creates it again from the arguments, with the
    // current state (see the top of this file); WindowCreated runs after.
    void Recreate();

    MessageFilter OnMessage;
    KeyEvent OnKeyDown;
    KeyPressEvent OnKeyPress;
    MouseEvent OnMouseDown;

protected:
    // Creates a window of a system class ("BUTTON", "EDIT", ...) and binds it.
    void Create(const char* className, ControlArgs args);
    // Creates a window of one of the program's own control classes (painted
    // by the control itself, unless its class style says it never paints);
    // the class is registered on first use.
    void CreateOwn(const char* className, ControlArgs args, UINT classStyle = kOwnPaintedClassStyle);
    // The window has been made again (Recreate): settings that live in the
    // window only (an edit's formatting rectangle, say) are applied again.
    virtual void WindowCreated() {}

    // Messages of the control's own window; return true when handled. What
    // is not handled gets the ordinary handling (Inherited).
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The ordinary handling: the key, character and mouse events, then the
    // window's own behaviour.
    LRESULT Inherited(UINT message, WPARAM wParam, LPARAM lParam);
    // The events alone, for controls that filter before the window acts.
    void DoKeyDown(WORD& key, ShiftState shift);
    void DoKeyPress(char& key);
    // Self-painted controls draw their whole client area here (graphic
    // controls on them are drawn afterwards).
    virtual void Paint(HDC /*dc*/) {}
    // WM_PAINT, WM_PRINTCLIENT and WM_ERASEBKGND of a self-painted control
    // (painting covers everything, so the background is never erased apart);
    // true when the message was one of them.
    bool HandlePaintMessage(UINT message, WPARAM wParam, LRESULT& result);
    void Invalidate();

private:
    friend class WindowBinding;
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void MakeWindow(int id, HWND insertAfter);
    void Rebuild(DWORD remove, DWORD add);
    // The control's own painting, then the graphic controls drawn on it.
    void PaintWithGraphics(HDC dc);
    void FireMouseDown(UINT message, WPARAM wParam, LPARAM lParam);

    HWND parent_;
    // Held while a window of a common-controls class exists (released after
    // the window, which the destructor destroys).
    CommonControls commonControls_;
    const char* className_ = nullptr;
    ControlArgs args_;
    bool ownClass_ = false;
    HFONT font_ = nullptr;  // kept here for our own classes, which have no font slot
};

}  // namespace kestrin
