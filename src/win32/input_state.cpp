#include "win32/input_state.h"

namespace kestrin {

ShiftState KeyboardShiftState(bool altHeld) noexcept {
    ShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
    if (altHeld || GetKeyState(VK_MENU) < 0) shift |= ssAlt;
    return shift;
}

MouseButton PressedButton(UINT message) noexcept {
    if (message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK) return mbRight;
    if (message == WM_MBUTTONDOWN || message == WM_MBUTTONDBLCLK) return mbMiddle;
    return mbLeft;
}

ShiftState MouseShiftState(UINT message, WPARAM wParam) noexcept {
    ShiftState shift = GetKeyState(VK_MENU) < 0 ? ssAlt : 0;
    if (wParam & MK_SHIFT) shift |= ssShift;
    if (wParam & MK_CONTROL) shift |= ssCtrl;
    if (wParam & MK_LBUTTON) shift |= ssLeft;
    if (wParam & MK_RBUTTON) shift |= ssRight;
    if (wParam & MK_MBUTTON) shift |= ssMiddle;
    if (message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK) shift |= ssDouble;
    return shift;
}

}  // namespace kestrin
