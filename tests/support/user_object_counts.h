#pragma once
// What the USER-object probe (probe/user_objects_probe.cpp) writes back: the
// layout shared by the DLL, which counts inside the process it is loaded
// into, and the reader (gui_objects.cpp), which fetches the result from
// that process's memory.
#include <windows.h>

namespace kestrin::test {

struct UserObjectCounts {
    LONG windows = 0;  // top-level, message-only and child windows
    LONG menus = 0;
    LONG icons = 0;    // icons and cursors
    LONG complete = 0; // 1 once the probe has filled in the rest
};

// The probe's exported thread procedure: DWORD WINAPI (UserObjectCounts*).
inline constexpr char kUserProbeEntry[] = "CountUserObjects";

}  // namespace kestrin::test
