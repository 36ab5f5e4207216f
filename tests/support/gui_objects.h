#pragma once
// GDI and USER objects of another process, counted by kind. Wine's
// GetGuiResources is a stub that answers 0, so they are counted the way the
// system itself keeps them:
//
// GDI: Wine, like Windows, keeps a table of GDI handles in the process's own
// memory and names it in the process environment block
// (PEB::GdiSharedHandleTable, offset 0x94 in a 32-bit PEB; under WoW64 only
// the process's 64-bit PEB names it, at 0xF8). The table is read
// with ReadProcessMemory: 0x10000 entries of 24 bytes (the object's address,
// owner, a unique word whose low 7 bits are the object's kind and bit 7 the
// stock flag, the base kind and flags, a user pointer). Under Wine the table
// belongs to the one process (the owner field stays 0), so every entry in
// use that is not a stock object is one of that process's objects.
//
// USER: Wine refuses one process's menus and icons to every other process,
// so a probe DLL (probe/user_objects_probe.cpp) is loaded into the process
// for the count and unloaded afterwards. See there for how it counts.
#include <windows.h>

#include <optional>
#include <string>

namespace kestrin::test {

struct GdiObjects {
    long bitmaps = 0;
    long dcs = 0;      // screen and memory DCs, metafile DCs
    long fonts = 0;
    long brushes = 0;
    long other = 0;    // pens, regions, palettes, metafiles

    long Total() const { return bitmaps + dcs + fonts + brushes + other; }
    std::string ToString() const;
    friend bool operator==(const GdiObjects&, const GdiObjects&) = default;
};

struct UserObjects {
    long windows = 0;  // top-level, message-only and child windows
    long menus = 0;
    long icons = 0;    // icons and cursors

    long Total() const { return windows + menus + icons; }
    std::string ToString() const;
    friend bool operator==(const UserObjects&, const UserObjects&) = default;
};

// Nothing when the process cannot be read.
std::optional<GdiObjects> ReadGdiObjects(DWORD processId);
// Loads the probe into the process for the count; nothing when it cannot be
// loaded there or does not answer within `timeoutMs`.
std::optional<UserObjects> ReadUserObjects(DWORD processId, DWORD timeoutMs = 10000);

// Full Windows path of the probe DLL built beside the tests.
std::string UserObjectsProbePath();

}  // namespace kestrin::test
