#include "framework/flat_button.h"

#include <windowsx.h>

#include <string>

#include "win32/handles.h"
#include "win32/screen_dpi.h"

namespace kestrin {

namespace {
constexpr int kGlyphSpacing = 4;  // at 96 dpi

// The system's one-pixel edge, as many times as a line has pixels.
void DrawEdges(HDC dc, RECT rect, UINT edge) {
    for (int line = ScaledLine(1); line > 0; --line) {
        DrawEdge(dc, &rect, edge, BF_RECT);
        InflateRect(&rect, -1, -1);
    }
}
}  // namespace

FlatButton::FlatButton(HWND parent, const Bounds& bounds, std::string_view caption) : Control(parent) {
    CreateOwn("KestrinFlatButton", {.text = std::string(caption), .bounds = bounds});
}

void FlatButton::SetGlyph(HICON normal, HICON disabled) {
    glyph_.AssignCopy(normal);
    disabledGlyph_.AssignCopy(disabled);
    Invalidate();
}

void FlatButton::Click() {
    if (OnClick) OnClick();
}

bool FlatButton::HandleCommand(WORD notifyCode) {
    if (notifyCode != BN_CLICKED) return false;
    Click();
    return true;
}

void FlatButton::NotifyParent() {
    // Sent, not posted: the click is handled before the press returns, as a
    // push button's is. Nothing of this object is touched afterwards, since
    // the handler may close the form that owns the button.
    SendMessageA(Parent(), WM_COMMAND, MAKEWPARAM(Id(), BN_CLICKED), reinterpret_cast<LPARAM>(Handle()));
}

void FlatButton::SetHot(bool hot) {
    if (hot == hot_) return;
    hot_ = hot;
    Invalidate();
}

void FlatButton::SetPressed(bool pressed) {
    if (pressed == pressed_) return;
    pressed_ = pressed;
    Invalidate();
}

void FlatButton::Paint(HDC dc) {
    RECT client{};
    GetClientRect(Handle(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const bool enabled = Enabled();
    const int line = ScaledLine(1);
    if (pressed_) {
        DrawEdges(dc, client, BDR_SUNKENOUTER);
    } else if (hot_ && enabled) {
        DrawEdges(dc, client, BDR_RAISEDINNER);
    }
    const int shift = pressed_ ? line : 0;

    const std::string text = Text();
    SelectGuard font(dc, Font());
    RECT textRect{0, 0, 0, 0};
    if (!text.empty())
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_SINGLELINE | DT_CALCRECT);
    const SIZE glyph = glyph_.Size();
    const int textWidth = textRect.right - textRect.left;
    const int gap = (glyph.cx > 0 && textWidth > 0) ? Scaled(kGlyphSpacing) : 0;
    const int contentWidth = glyph.cx + gap + textWidth;
    int x = (client.right - contentWidth) / 2 + shift;
    const int middle = client.bottom / 2 + shift;

    if (glyph.cx > 0) {
        const int y = middle - glyph.cy / 2;
        if (enabled) {
            DrawIconEx(dc, x, y, glyph_.Handle(), 0, 0, 0, nullptr, DI_NORMAL);
        } else if (!disabledGlyph_.Empty()) {
            DrawIconEx(dc, x, y, disabledGlyph_.Handle(), 0, 0, 0, nullptr, DI_NORMAL);
        } else {
            DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(glyph_.Handle()), 0, x, y, 0, 0,
                       DST_ICON | DSS_DISABLED);
        }
        x += glyph.cx + gap;
    }
    if (!text.empty()) {
        const int height = textRect.bottom - textRect.top;
        RECT rect{x, middle - height / 2, x + textWidth, middle - height / 2 + height};
        SetBkMode(dc, TRANSPARENT);
        const UINT flags = DT_SINGLELINE | DT_LEFT | DT_TOP;
        if (enabled) {
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
        } else {
            // Engraved, as the system draws disabled captions.
            RECT light = rect;
            OffsetRect(&light, line, line);
            SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
            DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &light, flags);
            SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
            DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
        }
    }
}

bool FlatButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    if (HandlePaintMessage(message, wParam, result)) return true;
    switch (message) {
        case WM_GETDLGCODE:
            // Dialog navigation passes over it: it never holds the focus.
            result = DLGC_STATIC;
            return true;
        case WM_MOUSEMOVE: {
            if (!hot_) {
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
                TrackMouseEvent(&track);
            }
            SetHot(true);
            if (tracking_) {
                RECT client{};
                GetClientRect(Handle(), &client);
                const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                SetPressed(PtInRect(&client, point) != FALSE);
            }
            return true;
        }
        case WM_MOUSELEAVE:
            SetHot(false);
            return true;
        case WM_LBUTTONDOWN:
            tracking_ = true;
            SetPressed(true);
            SetCapture(Handle());
            return true;
        case WM_LBUTTONUP: {
            if (!tracking_) return true;
            const bool click = pressed_;
            tracking_ = false;
            SetPressed(false);
            ReleaseCapture();
            if (click && Enabled()) NotifyParent();
            return true;
        }
        case WM_CAPTURECHANGED:
            tracking_ = false;
            SetPressed(false);
            return true;
        case WM_ENABLE:
            if (!wParam) {
                tracking_ = false;
                SetPressed(false);
            }
            Invalidate();
            return true;
        case WM_SETTEXT:
            result = CallDefault(message, wParam, lParam);
            Invalidate();
            return true;
        case BM_CLICK:
            if (Enabled()) NotifyParent();
            return true;
        default:
            return false;
    }
}

}  // namespace kestrin
