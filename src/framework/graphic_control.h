#pragma once
// Controls without a window of their own ("graphic controls"): each is a
// rectangle of its parent window, drawn on the parent's surface when the
// parent paints, and fed by the parent's mouse messages. The parent window
// (a form, or a self-painted control such as a panel) hands its messages to
// the GraphicHost of its window, which paints its graphic controls after the
// parent's own painting, finds the one under the pointer for presses,
// clicks and the cursor, and shows their hints in a tool tip.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/bounds.h"
#include "win32/common_controls.h"
#include "framework/component.h"
#include "win32/handles.h"
#include "win32/portable/shift_state.h"

namespace kestrin {

class GraphicHost;

class GraphicControl : public Component {
public:
    // A mouse button pressed on the control; x and y relative to its top-left corner.
    using MouseEvent = std::function<void(GraphicControl& sender, MouseButton button, ShiftState shift, int x, int y)>;

    GraphicControl(HWND parent, const Bounds& bounds);
    ~GraphicControl() override;

    HWND Parent() const noexcept { return parent_; }

    // Position in the parent's client coordinates, and size.
    void SetBounds(const Bounds& bounds);
    const Bounds& GetBounds() const noexcept { return bounds_; }
    int Width() const noexcept { return bounds_.width; }
    int Height() const noexcept { return bounds_.height; }

    void SetVisible(bool visible);
    bool Visible() const noexcept { return visible_; }
    // A disabled control takes no mouse input.
    void SetEnabled(bool enabled);
    bool Enabled() const noexcept { return enabled_; }

    // The screen cursor (crDefault, crHandPoint...) shown over the control.
    void SetCursor(int cursor) noexcept { cursor_ = cursor; }
    int Cursor() const noexcept { return cursor_; }

    // The text of the tool tip that appears when the pointer rests on the
    // control; shown only while ShowHint is on and the text is not empty.
    void SetHint(std::string hint);
    const std::string& Hint() const noexcept { return hint_; }
    void SetShowHint(bool show);
    bool ShowHint() const noexcept { return showHint_; }

    // Not owned; the program's UI font unless set.
    void SetFont(HFONT font);
    HFONT Font() const noexcept { return font_; }

    // Background colour; CLR_DEFAULT stands for the button face.
    void SetColor(COLORREF color);

    // A point of the control in screen coordinates.
    POINT ClientToScreen(int x, int y) const;

    // Asks the parent to paint the control's rectangle again.
    void Invalidate();

    MouseEvent OnMouseDown;
    // The second press of a double-click, after OnMouseDown. A double-click
    // is one click, then this: its second release is no click.
    std::function<void(GraphicControl& sender)> OnDblClick;

protected:
    // Draws the control; the origin of `dc` is the control's top-left corner
    // and drawing is clipped to its rectangle.
    virtual void Paint(HDC /*dc*/) {}
    // A left press and release both on the control.
    virtual void Click() {}
    // The colour CLR_DEFAULT stands for resolved.
    COLORREF EffectiveColor() const;

private:
    friend class GraphicHost;
    void MouseDown(MouseButton button, ShiftState shift, int x, int y);

    HWND parent_;
    GraphicHost& host_;
    Bounds bounds_;
    bool visible_ = true;
    bool enabled_ = true;
    int cursor_ = 0;
    std::string hint_;
    bool showHint_ = false;
    HFONT font_;
    COLORREF color_ = CLR_DEFAULT;
    UINT_PTR toolId_;
};

// The graphic controls of one window, owned by the window's object (see
// WindowBinding), which makes it with the first of them.
class GraphicHost {
public:
    // `window` is the owner's handle: the host follows it.
    explicit GraphicHost(const WindowHandle& window);
    ~GraphicHost();
    GraphicHost(const GraphicHost&) = delete;
    GraphicHost& operator=(const GraphicHost&) = delete;

    // For the window's last message (WM_NCDESTROY): its tool tip went with it.
    void WindowGone() noexcept;

    // For the host window's procedure, before its own handling: presses,
    // releases and moves of the mouse over graphic controls, the cursor over
    // them, and the tool tip's view of the mouse. True when handled.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Paints the graphic controls, in the order they were made, after the
    // host window has painted itself into `dc`.
    void Paint(HDC dc);

    HWND Window() const noexcept { return window_.get(); }

private:
    friend class GraphicControl;
    // The host of a window, made on first use; KestrinError for a window
    // that is not a form's or a control's.
    static GraphicHost& Of(HWND window);
    void Leave(GraphicControl* control) noexcept;
    void Invalidate(const Bounds& bounds) noexcept;
    // The enabled, visible control at a point of the window, topmost first.
    GraphicControl* ControlAt(int x, int y) const;
    // Brings the control's entry in the tool tip up to date.
    void UpdateTool(const GraphicControl& control);
    void RemoveTool(const GraphicControl& control) noexcept;
    void RelayToToolTip(UINT message, WPARAM wParam, LPARAM lParam);

    const WindowHandle& window_;
    std::vector<GraphicControl*> controls_;
    CommonControls toolTipClass_;  // before the tool tip: released after it
    WindowHandle toolTip_;
    GraphicControl* pressed_ = nullptr;  // left button went down on it and is held
};

}  // namespace kestrin
