#pragma once
// The system's default beep (MessageBeep with 0), by which a control says
// no to input it refuses. Tests put a counter in front of it.
#include <windows.h>

namespace kestrin {

using BeepFunction = BOOL(WINAPI*)(UINT type);

// Installs `function` (nullptr: MessageBeep again) and returns the one that
// was installed.
BeepFunction SetBeepFunction(BeepFunction function) noexcept;

void RefusalBeep() noexcept;

}  // namespace kestrin
