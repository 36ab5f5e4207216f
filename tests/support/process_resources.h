#pragma once
// What another process holds, read from outside: its kernel handles, its
// windows, its threads and its private bytes. (Under Wine GetGuiResources
// and GetProcessHandleCount are stubs, so handles come from the system's
// handle table and USER objects are counted as windows.)
#include <windows.h>

#include <cstdint>
#include <optional>
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

// Processor time (user and kernel) the process's threads have used so far,
// in 100 ns units; nothing when a thread could not be read. Summed over its
// threads because Wine's GetProcessTimes leaves the user time of another
// process at 0; Wine reads each thread's time from Linux, counted in clock
// ticks (10 ms).
std::optional<uint64_t> ProcessCpuTime(DWORD processId);

}  // namespace kestrin::test
