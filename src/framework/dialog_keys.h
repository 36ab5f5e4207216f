#pragma once
// The keyboard of a dialog for a window that is not one (a form): Tab and
// the arrows move the focus, Enter presses the focused push button or the
// default one, and the focus comes back to where it was when the window is
// active again. Keys a control claims (WM_GETDLGCODE) stay with it.
#include <windows.h>

#include "win32/portable/shift_state.h"

namespace kestrin {

// Tab, an arrow, Enter or Esc: a key a dialog handles for its controls.
bool IsDialogKey(WPARAM key);
// The focused window of `form` takes this key down (`message`) itself.
bool ControlWantsKey(HWND form, const MSG& message);
// The dialog's own handling of a dialog key: Tab moves to the next tab stop
// (Shift: the previous), an arrow to the next control of the group, Enter
// presses the focused push button or else `defaultButton`. True when handled.
bool HandleDialogKey(HWND form, WORD key, ShiftState shift, HWND defaultButton);
// Moves the focus to the next (previous) tab stop or control of the group.
void SelectNextControl(HWND form, bool forward, bool tabStopsOnly);
// Presses a button the way a click does, when it is enabled and visible.
bool ClickButton(HWND button);
// Enabled and visible: a control the keyboard may reach.
bool IsUsable(HWND window);

// The focused control of `form`, or nullptr: kept when the form is deactivated.
HWND FocusedChild(HWND form);
// Focuses the kept control again, or the first tab stop; false when neither is usable.
bool FocusAgain(HWND form, HWND saved);

}  // namespace kestrin
