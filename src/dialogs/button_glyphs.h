#pragma once
// The pictures of the dialogs' OK and cancel buttons, 16 x 16 pixels at 96
// dpi, loaded at their size on the screen (the icons hold pictures drawn for
// 16, 20 and 24 pixels: 100, 125 and 150 %).
#include <windows.h>

#include "win32/handles.h"
#include "resources/resource_ids.h"

namespace kestrin {

// The icon resource `resourceId` (IDI_DO_GLYPH...) of the program; empty
// when it cannot be loaded.
IconHandle ButtonGlyph(int resourceId);

}  // namespace kestrin
