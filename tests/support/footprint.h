#pragma once
// Everything a resident process holds, read from outside in one go: private
// bytes, kernel handles and threads (process_resources), GDI objects and
// USER objects (gui_objects). The USER count loads a probe into the process,
// so it is taken last, after everything it could disturb: under Wine the
// first count leaves about 1.5 MB of private bytes behind (the stack of the
// last thread that ended is only freed when the next one ends, and a
// thread's first call into the window manager allocates for good); a second
// count leaves next to nothing, and no count changes the other figures.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "support/gui_objects.h"

namespace kestrin::test {

struct Footprint {
    uint64_t privateBytes = 0;
    long handles = 0;
    long threads = 0;
    GdiObjects gdi;
    UserObjects user;

    std::string ToString() const;
};

// Nothing when any part could not be read.
std::optional<Footprint> ReadFootprint(DWORD processId);

}  // namespace kestrin::test
