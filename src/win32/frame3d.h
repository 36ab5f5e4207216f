#pragma once
// One-pixel 3-D frames and lines in the system's button colours, shared by
// the panel and the bevel.
#include <windows.h>

namespace kestrin {

// Draws a frame on the outermost pixels of `rect`: top and left in
// `topLeft`, bottom and right in `bottomRight` (colours as COLOR_ indexes).
void DrawFrame3D(HDC dc, const RECT& rect, int topLeft, int bottomRight);

// A strip (a rectangle, often a pixel high) of the given system colour.
void FillStrip(HDC dc, int left, int top, int right, int bottom, int colorIndex);

}  // namespace kestrin
