#pragma once
// Icons made in memory for tests, and their pixels read back.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "win32/handles.h"

namespace kestrin::test {

// A square icon of one colour (fully opaque), size x size pixels.
IconHandle MakeSolidIcon(int size, COLORREF color);
// A square icon: left half `left`, right half `right`.
IconHandle MakeSplitIcon(int size, COLORREF left, COLORREF right);

// The icon drawn at its own size over `background`; 0x00RRGGBB pixels,
// top-down rows.
std::vector<uint32_t> RenderIcon(HICON icon, int size, COLORREF background);

// COLORREF (0x00BBGGRR) as a captured pixel (0x00RRGGBB).
constexpr uint32_t PixelOf(COLORREF color) {
    return (static_cast<uint32_t>(GetRValue(color)) << 16) | (static_cast<uint32_t>(GetGValue(color)) << 8) |
           GetBValue(color);
}

}  // namespace kestrin::test
