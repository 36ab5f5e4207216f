#include "win32/main_thread.h"

#include <windows.h>

namespace kestrin {

namespace {
// Static initialisation runs on the thread that starts the process.
const DWORD startingThreadId = GetCurrentThreadId();
}  // namespace

bool OnStartingThread() noexcept { return GetCurrentThreadId() == startingThreadId; }

void RequireStartingThread(const char* what) noexcept {
    if (OnStartingThread()) return;
    FatalAppExitA(0, what);
}

}  // namespace kestrin
