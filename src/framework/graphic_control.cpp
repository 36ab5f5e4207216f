#include "framework/graphic_control.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "win32/cursors.h"
#include "win32/input_state.h"
#include "win32/portable/error.h"
#include "framework/portable/messages.h"
#include "win32/ui_font.h"
#include "framework/window_class.h"

namespace kestrin {

namespace {

// Tooltip tool identifiers; GUI thread only.
constinit UINT_PTR lastToolId = 0;

UINT_PTR NextToolId() { return ++lastToolId; }

bool Contains(const Bounds& b, int x, int y) { return x >= b.x && y >= b.y && x < b.x + b.width && y < b.y + b.height; }

}  // namespace

// --- GraphicControl ---

GraphicControl::GraphicControl(HWND parent, const Bounds& bounds)
    : parent_(parent), host_(GraphicHost::Of(parent)), bounds_(bounds), font_(UiFont()), toolId_(NextToolId()) {
    host_.controls_.push_back(this);
    Invalidate();
}

GraphicControl::~GraphicControl() { host_.Leave(this); }

void GraphicControl::SetBounds(const Bounds& bounds) {
    if (bounds == bounds_) return;
    Invalidate();
    bounds_ = bounds;
    Invalidate();
    host_.UpdateTool(*this);
}

void GraphicControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    host_.Invalidate(bounds_);
    host_.UpdateTool(*this);
}

void GraphicControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Invalidate();
}

void GraphicControl::SetHint(std::string hint) {
    if (hint == hint_) return;
    hint_ = std::move(hint);
    host_.UpdateTool(*this);
}

void GraphicControl::SetShowHint(bool show) {
    if (show == showHint_) return;
    showHint_ = show;
    host_.UpdateTool(*this);
}

void GraphicControl::SetFont(HFONT font) {
    if (!font) font = UiFont();
    if (font == font_) return;
    font_ = font;
    Invalidate();
}

void GraphicControl::SetColor(COLORREF color) {
    if (color == color_) return;
    color_ = color;
    Invalidate();
}

COLORREF GraphicControl::EffectiveColor() const {
    return color_ == CLR_DEFAULT ? GetSysColor(COLOR_BTNFACE) : color_;
}

POINT GraphicControl::ClientToScreen(int x, int y) const {
    POINT point{bounds_.x + x, bounds_.y + y};
    ::ClientToScreen(parent_, &point);
    return point;
}

void GraphicControl::Invalidate() {
    if (visible_) host_.Invalidate(bounds_);
}

void GraphicControl::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
    // A copy: the handler may replace itself while it runs.
    if (const MouseEvent handler = OnMouseDown) handler(*this, button, shift, x, y);
}

// --- GraphicHost ---

GraphicHost::GraphicHost(const WindowHandle& window) : window_(window) {}

GraphicHost::~GraphicHost() { WindowGone(); }

GraphicHost& GraphicHost::Of(HWND window) {
    // The window's object owns the host (see WindowBinding); a window that
    // is not a form's or a control's has none.
    auto* host = reinterpret_cast<GraphicHost*>(SendMessageA(window, kGraphicHostMessage, 0, 0));
    if (!host) throw KestrinError("GraphicControl without a host");
    return *host;
}

void GraphicHost::WindowGone() noexcept {
    // An owned tool tip goes with its owner; one that is still there is ours to destroy.
    if (toolTip_ && !IsWindow(toolTip_.get())) toolTip_.release();
    toolTip_.reset();
    toolTipClass_.Release();
    pressed_ = nullptr;
}

void GraphicHost::Leave(GraphicControl* control) noexcept {
    if (pressed_ == control) {
        pressed_ = nullptr;
        if (Window() && GetCapture() == Window()) ReleaseCapture();
    }
    RemoveTool(*control);
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    if (control->visible_) Invalidate(control->bounds_);
}

void GraphicHost::Invalidate(const Bounds& bounds) noexcept {
    if (!Window()) return;
    const RECT rect = ToRect(bounds);
    InvalidateRect(Window(), &rect, TRUE);
}

GraphicControl* GraphicHost::ControlAt(int x, int y) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        GraphicControl* control = *it;
        if (control->visible_ && control->enabled_ && Contains(control->bounds_, x, y)) return control;
    }
    return nullptr;
}

void GraphicHost::Paint(HDC dc) {
    for (GraphicControl* control : controls_) {
        if (!control->visible_) continue;
        const RECT rect = ToRect(control->bounds_);
        if (!RectVisible(dc, &rect)) continue;
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
        OffsetViewportOrgEx(dc, rect.left, rect.top, nullptr);
        control->Paint(dc);
        RestoreDC(dc, saved);
    }
}

bool GraphicHost::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!Window()) return false;
    switch (message) {
        case WM_MOUSEMOVE:
            RelayToToolTip(message, wParam, lParam);
            return false;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK: {
            RelayToToolTip(message, wParam, lParam);
            const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
            GraphicControl* control = ControlAt(x, y);
            if (!control) return false;
            const MouseButton button = PressedButton(message);
            if (message == WM_LBUTTONDOWN) {
                // The release decides on the click, wherever it happens.
                pressed_ = control;
                SetCapture(Window());
            }
            const Bounds bounds = control->bounds_;
            control->MouseDown(button, MouseShiftState(message, wParam), x - bounds.x, y - bounds.y);
            if (message == WM_LBUTTONDBLCLK) {
                if (const auto handler = control->OnDblClick) handler(*control);
            }
            result = 0;
            return true;
        }
        case WM_LBUTTONUP: {
            RelayToToolTip(message, wParam, lParam);
            GraphicControl* control = std::exchange(pressed_, nullptr);
            if (!control) return false;
            if (GetCapture() == Window()) ReleaseCapture();
            // Released outside, or disabled meanwhile: no click.
            if (control == ControlAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) control->Click();
            result = 0;
            return true;
        }
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            RelayToToolTip(message, wParam, lParam);
            return false;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != Window()) pressed_ = nullptr;
            return false;
        case WM_SETCURSOR: {
            if (reinterpret_cast<HWND>(wParam) != Window() || LOWORD(lParam) != HTCLIENT) return false;
            POINT point{};
            GetCursorPos(&point);
            ScreenToClient(Window(), &point);
            GraphicControl* control = ControlAt(point.x, point.y);
            if (!control || control->cursor_ == crDefault) return false;
            ::SetCursor(ScreenCursor(control->cursor_));
            result = TRUE;
            return true;
        }
        default:
            return false;
    }
}

void GraphicHost::RelayToToolTip(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!toolTip_) return;
    MSG relayed{};
    relayed.hwnd = Window();
    relayed.message = message;
    relayed.wParam = wParam;
    relayed.lParam = lParam;
    SendMessageA(toolTip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void GraphicHost::UpdateTool(const GraphicControl& control) {
    if (!Window()) return;
    RemoveTool(control);
    std::string text = control.visible_ && control.showHint_ ? control.hint_ : std::string();
    if (text.empty()) return;
    if (!toolTip_) {
        if (!toolTipClass_) toolTipClass_ = CommonControls::Hold();
        toolTip_.reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Window(), nullptr,
                                       ProgramInstance(), nullptr));
        if (!toolTip_) return;  // no hints then; nothing else depends on them
    }
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = Window();
    tool.uId = control.toolId_;
    tool.rect = ToRect(control.bounds_);
    tool.hinst = nullptr;
    tool.lpszText = text.data();  // copied by the tool tip
    SendMessageA(toolTip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void GraphicHost::RemoveTool(const GraphicControl& control) noexcept {
    if (!toolTip_) return;
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = Window();
    tool.uId = control.toolId_;
    SendMessageA(toolTip_.get(), TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace kestrin
