#pragma once
// Base of every child control: owns the control's window, binds the window
// to this object, and takes back the notifications (WM_COMMAND, WM_NOTIFY)
// that the system sends to the parent, so that each control handles its own
// events through handler members such as onClick.
//
// The window is subclassed with an ANSI procedure, so every message a control
// sees carries cp932 text, as the rest of the program does.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "platform/handles.h"

namespace kestrin {

struct Bounds {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

enum class TextAlignment { Left, Center, Right };

class Control {
public:
    // Looks at a message before the control's own handling; return true to
    // consume it (the result goes back to the sender).
    using MessageFilter = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

    explicit Control(HWND parent);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // The control object bound to a window, or nullptr for a window that is
    // not one of ours (or no window).
    static Control* FromHandle(HWND window);

    // For a parent's window procedure: hand WM_COMMAND / WM_NOTIFY from a
    // child back to the child's object. False when no control of ours claimed it.
    static bool RouteCommand(WPARAM wParam, LPARAM lParam);
    static bool RouteNotify(LPARAM lParam);

    // Notifications from the control's own window, as routed by its parent.
    virtual bool HandleCommand(WORD notifyCode);
    virtual bool HandleNotify(NMHDR* header);

    HWND Handle() const noexcept { return window_.get(); }
    HWND Parent() const noexcept { return parent_; }
    int Id() const;

    void SetBounds(int x, int y, int width, int height);
    void SetBounds(const Bounds& bounds) { SetBounds(bounds.x, bounds.y, bounds.width, bounds.height); }
    // Position in the parent's client coordinates, and size.
    Bounds GetBounds() const;

    void SetVisible(bool visible);
    bool Visible() const;
    void SetEnabled(bool enabled);
    bool Enabled() const;
    void SetTabStop(bool tabStop);
    bool TabStop() const;

    void SetText(std::string_view text);
    std::string Text() const;

    void SetFont(HFONT font);
    HFONT Font() const;

    void Focus();
    bool Focused() const;

    // The area in which children of this control lay themselves out (client
    // coordinates); a panel leaves out its bevels.
    virtual RECT ClientArea() const;

    MessageFilter onMessage;

protected:
    // Creates a window of a system class ("BUTTON", "EDIT", ...) and binds it.
    void Create(const char* className, std::string_view text, DWORD style, DWORD exStyle, const Bounds& bounds);
    // Creates a window of one of the program's own control classes (painted
    // by the control itself); the class is registered on first use.
    void CreateOwn(const char* className, std::string_view text, DWORD style, DWORD exStyle, const Bounds& bounds);

    // Messages of the control's own window; return true when handled.
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Self-painted controls draw their whole client area here.
    virtual void Paint(HDC /*dc*/) {}
    // WM_PAINT, WM_PRINTCLIENT and WM_ERASEBKGND of a self-painted control
    // (painting covers everything, so the background is never erased apart);
    // true when the message was one of them.
    bool HandlePaintMessage(UINT message, WPARAM wParam, LRESULT& result);
    // The window's behaviour before it was subclassed.
    LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam);
    void Invalidate();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void Bind(HWND window);
    void RestoreProcedure() noexcept;

    HWND parent_;
    WindowHandle window_;  // cleared, not destroyed, when the system destroys it first
    WNDPROC original_ = nullptr;
    bool ownClass_ = false;
    HFONT font_ = nullptr;  // kept here for our own classes, which have no font slot
};

}  // namespace kestrin
