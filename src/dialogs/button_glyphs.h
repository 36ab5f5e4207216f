#pragma once
// The pictures of the dialogs' OK and cancel buttons, at 16 x 16 pixels.
#include <windows.h>

#include "win32/handles.h"
#include "resources/resource_ids.h"

namespace kestrin {

// The icon resource `resourceId` (IDI_DO_GLYPH...) of the program; empty
// when it cannot be loaded.
IconHandle ButtonGlyph(int resourceId);

}  // namespace kestrin
