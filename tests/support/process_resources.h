#pragma once
// What another process holds, read from outside: its kernel handles, its
// windows, its threads and its private bytes. (Under Wine GetGuiResources
// and GetProcessHandleCount are stubs, so handles come from the system's
// handle table and USER objects are counted as windows.)
#include <windows.h>

#include <cstdint>
#include <string>

namespace kestrin::test {

struct ProcessResources {
    long handles = -1;   // -1: the system would not say
    long windows = 0;    // top-level windows and all their children
    long threads = 0;
    uint64_t privateBytes = 0;

    std::string ToString() const;
};

ProcessResources ReadProcessResources(DWORD processId);

// Whether the process has the library `name` (e.g. "comctl32.dll") loaded now.
bool HasModule(DWORD processId, const std::string& name);

}  // namespace kestrin::test
