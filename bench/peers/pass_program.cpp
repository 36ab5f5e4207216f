// The peer of the resident Kestrin's pass: the pass's calls only
// (pass_calls.h), one pass each time it is told to.
//
// Command line: the handle values of an inherited auto-reset event that
// starts one pass, and of this program's parent, whose end ends it too.
#include <windows.h>

#include <cstdlib>

#include "pass_calls.h"

namespace {

HANDLE HandleArgument(int index) {
    return index < __argc ? reinterpret_cast<HANDLE>(std::strtoul(__argv[index], nullptr, 10)) : nullptr;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const HANDLE waits[] = {HandleArgument(1), HandleArgument(2)};
    while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0) kestrin::peers::TracedPass();
    return 0;
}
