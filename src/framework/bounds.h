#pragma once
// A rectangle as position and size, the way controls and forms are laid out.
#include <windows.h>

#include "win32/screen_dpi.h"

namespace kestrin {

struct Bounds {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Bounds&) const = default;
};

inline RECT ToRect(const Bounds& b) { return {b.x, b.y, b.x + b.width, b.y + b.height}; }

// Bounds laid out at 96 dpi, on this screen: each number scaled alone, as
// a form description is.
inline Bounds Scaled(const Bounds& b) { return {Scaled(b.x), Scaled(b.y), Scaled(b.width), Scaled(b.height)}; }

}  // namespace kestrin
