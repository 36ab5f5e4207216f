#pragma once
// The screen cursors a control can name by number (as its Cursor property):
// crDefault, the system's arrow, and crHandPoint, the hand over a link. The
// program may install its own cursor under a number.
#include <windows.h>

namespace kestrin {

enum ScreenCursorId : int {
    crDefault = 0,
    crHandPoint = -21,
};

// The cursor for a number; the system's arrow for an unknown one.
HCURSOR ScreenCursor(int id);
// Installs a cursor under a number. Cursors from LoadCursor are shared and
// never destroyed, so the table does not own them.
void SetScreenCursor(int id, HCURSOR cursor);

}  // namespace kestrin
