#pragma once
// Where the menu of a tray icon opens for a press at `pointer`: read from the
// shell (the taskbar, the icon's rectangle) and the pointer's monitor, laid
// out by the rules of tray/portable/menu_placement.h.
#include <windows.h>

#include "framework/popup_menu.h"

namespace kestrin {

// The icon is the shell's (window, id) pair.
PopupPosition TrayMenuPosition(HWND iconWindow, UINT iconId, POINT pointer);

}  // namespace kestrin
