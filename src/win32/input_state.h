#pragma once
// The keys and mouse buttons held with an input message, as the events of
// controls, forms and graphic controls report them.
#include <windows.h>

#include "win32/portable/shift_state.h"

namespace kestrin {

// The modifier keys held now (for key events).
ShiftState KeyboardShiftState(bool altHeld = false) noexcept;
// The button of a mouse press message, and the keys and buttons held with it.
MouseButton PressedButton(UINT message) noexcept;
ShiftState MouseShiftState(UINT message, WPARAM wParam) noexcept;

}  // namespace kestrin
