#include "framework/bevel.h"

#include "win32/frame3d.h"
#include "win32/screen_dpi.h"

namespace kestrin {

Bevel::Bevel(HWND parent, const Bounds& bounds) : Control(parent) {
    CreateOwn("KestrinBevel", {.bounds = bounds});
}

void Bevel::Paint(HDC dc) {
    RECT rect{};
    GetClientRect(Handle(), &rect);
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    const int line = ScaledLine(1);
    FillStrip(dc, 0, 0, rect.right, line, COLOR_BTNSHADOW);
    FillStrip(dc, 0, line, rect.right, 2 * line, COLOR_BTNHIGHLIGHT);
}

bool Bevel::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    return HandlePaintMessage(message, wParam, result);
}

}  // namespace kestrin
