#include "win32/frame3d.h"

namespace kestrin {

void FillStrip(HDC dc, int left, int top, int right, int bottom, int colorIndex) {
    const RECT strip{left, top, right, bottom};
    FillRect(dc, &strip, GetSysColorBrush(colorIndex));
}

void DrawFrame3D(HDC dc, const RECT& rect, int topLeft, int bottomRight) {
    if (rect.right - rect.left < 1 || rect.bottom - rect.top < 1) return;
    FillStrip(dc, rect.left, rect.top, rect.right - 1, rect.top + 1, topLeft);
    FillStrip(dc, rect.left, rect.top, rect.left + 1, rect.bottom - 1, topLeft);
    FillStrip(dc, rect.right - 1, rect.top, rect.right, rect.bottom, bottomRight);
    FillStrip(dc, rect.left, rect.bottom - 1, rect.right, rect.bottom, bottomRight);
}

}  // namespace kestrin
