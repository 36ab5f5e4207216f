#pragma once
// Modifier keys and mouse buttons held while an input event happened, as a
// set of flags, and the mouse buttons an event can name.
#include <cstdint>

namespace kestrin {

enum ShiftFlag : uint8_t {
    ssShift = 0x01,
    ssAlt = 0x02,
    ssCtrl = 0x04,
    ssLeft = 0x08,
    ssRight = 0x10,
    ssMiddle = 0x20,
    ssDouble = 0x40,
};
using ShiftState = uint8_t;

enum MouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

}  // namespace kestrin
