#pragma once
// A rectangle as position and size, the way controls and forms are laid out.
#include <windows.h>

namespace kestrin {

struct Bounds {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Bounds&) const = default;
};

inline RECT ToRect(const Bounds& b) { return {b.x, b.y, b.x + b.width, b.y + b.height}; }

}  // namespace kestrin
