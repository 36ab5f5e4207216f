#include "framework/bevel.h"

#include "win32/frame3d.h"

namespace kestrin {

Bevel::Bevel(HWND parent, const Bounds& bounds, BevelShape shape, BevelStyle style)
    : Control(parent), shape_(shape), style_(style) {
    CreateOwn("KestrinBevel", {.bounds = bounds});
}

void Bevel::SetShape(BevelShape shape) {
    if (shape == shape_) return;
    shape_ = shape;
    Invalidate();
}

void Bevel::SetStyle(BevelStyle style) {
    if (style == style_) return;
    style_ = style;
    Invalidate();
}

void Bevel::Paint(HDC dc) {
    RECT rect{};
    GetClientRect(Handle(), &rect);
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    // Lowered: the shadow comes first (top, left), the highlight after it.
    const bool lowered = style_ == BevelStyle::Lowered;
    const int first = lowered ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT;
    const int second = lowered ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW;
    const int w = rect.right, h = rect.bottom;
    switch (shape_) {
        case BevelShape::Box:
            DrawFrame3D(dc, rect, first, second);
            break;
        case BevelShape::Frame: {
            RECT outer{0, 0, w - 1, h - 1};
            RECT inner{1, 1, w, h};
            DrawFrame3D(dc, inner, second, second);
            DrawFrame3D(dc, outer, first, first);
            break;
        }
        case BevelShape::TopLine:
            FillStrip(dc, 0, 0, w, 1, first);
            FillStrip(dc, 0, 1, w, 2, second);
            break;
        case BevelShape::BottomLine:
            FillStrip(dc, 0, h - 2, w, h - 1, first);
            FillStrip(dc, 0, h - 1, w, h, second);
            break;
        case BevelShape::LeftLine:
            FillStrip(dc, 0, 0, 1, h, first);
            FillStrip(dc, 1, 0, 2, h, second);
            break;
        case BevelShape::RightLine:
            FillStrip(dc, w - 2, 0, w - 1, h, first);
            FillStrip(dc, w - 1, 0, w, h, second);
            break;
    }
}

bool Bevel::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    return HandlePaintMessage(message, wParam, result);
}

}  // namespace kestrin
