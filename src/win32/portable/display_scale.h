#pragma once
// The program's layouts are in pixels of a 96-dpi screen; on a denser screen
// each of their numbers becomes this many pixels.
#include <cstdint>

namespace kestrin {

inline constexpr int kDesignDpi = 96;

// value × dpi / 96, rounded to the nearest pixel, halves away from zero:
// what MulDiv(value, dpi, 96) gives.
constexpr int ScaleToDpi(int value, int dpi) {
    const int64_t product = static_cast<int64_t>(value) * dpi;
    const int64_t magnitude = ((product < 0 ? -product : product) + kDesignDpi / 2) / kDesignDpi;
    return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

// The width of a drawn line (a bevel, an edge, a one-pixel shift): whole
// pixels for each design pixel, never less than one. A line of 1.5 pixels
// rounded up to 2 would draw frames heavier than the system's own edges,
// which stay one pixel wide until the screen has two for each.
constexpr int ScaleLineToDpi(int value, int dpi) {
    const int scaled = static_cast<int>(static_cast<int64_t>(value) * dpi / kDesignDpi);
    return value > 0 && scaled < 1 ? 1 : scaled;
}

}  // namespace kestrin
