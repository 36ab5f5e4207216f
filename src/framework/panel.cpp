#include "framework/panel.h"

#include "win32/frame3d.h"
#include "win32/screen_dpi.h"

namespace kestrin {

namespace {

// A bevel one design pixel wide, as many screen pixels as a line has.
void DrawCut(HDC dc, RECT& rect, BevelCut cut) {
    if (cut == BevelCut::None) return;
    for (int line = ScaledLine(1); line > 0; --line) {
        if (cut == BevelCut::Raised)
            DrawFrame3D(dc, rect, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
        else
            DrawFrame3D(dc, rect, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
        InflateRect(&rect, -1, -1);
    }
}

}  // namespace

void DrawBevels(HDC dc, RECT& rect, BevelCut outer, BevelCut inner) {
    DrawCut(dc, rect, outer);
    DrawCut(dc, rect, inner);
}

Panel::Panel(HWND parent, const Bounds& bounds, BevelCut outer, BevelCut inner)
    : Control(parent), outer_(outer), inner_(inner) {
    // Children are clipped out of the panel's painting, so the frame never
    // paints over them.
    CreateOwn("KestrinPanel", {.bounds = bounds,
                              .style = WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                              .exStyle = WS_EX_CONTROLPARENT});
}

RECT Panel::ClientArea() const {
    RECT rect = Control::ClientArea();
    const int inset = ((outer_ != BevelCut::None ? 1 : 0) + (inner_ != BevelCut::None ? 1 : 0)) * ScaledLine(1);
    InflateRect(&rect, -inset, -inset);
    return rect;
}

void Panel::Paint(HDC dc) {
    RECT rect{};
    GetClientRect(Handle(), &rect);
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    DrawBevels(dc, rect, outer_, inner_);
}

bool Panel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (HandlePaintMessage(message, wParam, result)) return true;
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
            // The form decides, as if the children were its own.
            result = SendMessageA(Parent(), message, wParam, lParam);
            return true;
        default:
            return false;
    }
}

}  // namespace kestrin
