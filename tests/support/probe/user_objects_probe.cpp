// A DLL loaded into another process for a moment to count that process's
// USER objects, which Wine keeps out of reach of every other process (a
// menu or an icon handle of another process is refused, and
// GetGuiResources is a stub). gui_objects.cpp loads it with a remote
// thread, runs CountUserObjects on a second one and unloads it again.
//
// Windows are found by enumeration (top-level, message-only and their
// children). Menus and icons cannot be enumerated, so every USER handle the
// process could hold is tried: Wine hands them out as (index << 1) + 0x20
// in the low word with a generation count in the high word, and accepts a
// high word of 0 as "any generation" for the process's own objects.
#include <windows.h>

#include "support/user_object_counts.h"

namespace {

using kestrin::test::UserObjectCounts;

constexpr UINT_PTR kFirstUserHandle = 0x0020;
constexpr UINT_PTR kLastUserHandle = 0xFFEF;

bool Ours(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId == GetCurrentProcessId();
}

BOOL CALLBACK CountChild(HWND window, LPARAM counts) {
    if (Ours(window)) ++reinterpret_cast<UserObjectCounts*>(counts)->windows;
    return TRUE;
}

// A window of ours and its descendants (EnumChildWindows goes all the way down).
BOOL CALLBACK CountTree(HWND window, LPARAM counts) {
    if (!Ours(window)) return TRUE;
    ++reinterpret_cast<UserObjectCounts*>(counts)->windows;
    EnumChildWindows(window, &CountChild, counts);
    return TRUE;
}

void CountWindows(UserObjectCounts& counts) {
    const auto context = reinterpret_cast<LPARAM>(&counts);
    EnumWindows(&CountTree, context);
    for (HWND window = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); window;
         window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr))
        CountTree(window, context);
}

bool IsIcon(HANDLE handle) {
    ICONINFO info{};
    if (!GetIconInfo(static_cast<HICON>(handle), &info)) return false;
    // The answer is a copy of the icon's bitmaps, which are ours to delete.
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return true;
}

void CountMenusAndIcons(UserObjectCounts& counts) {
    for (UINT_PTR value = kFirstUserHandle; value <= kLastUserHandle; value += 2) {
        const auto handle = reinterpret_cast<HANDLE>(value);
        if (IsMenu(static_cast<HMENU>(handle)))
            ++counts.menus;
        else if (IsIcon(handle))
            ++counts.icons;
    }
}

}  // namespace

extern "C" __attribute__((dllexport)) DWORD WINAPI CountUserObjects(void* result) {
    auto* counts = static_cast<UserObjectCounts*>(result);
    UserObjectCounts found;
    CountWindows(found);
    CountMenusAndIcons(found);
    found.complete = 1;
    *counts = found;
    return 0;
}
