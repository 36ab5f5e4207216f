// One of the idle processes the benchmark starts so that a compaction pass
// has a couple of hundred processes to go through. Command line: the handle
// values of an inherited semaphore, released once this process runs, and of
// the benchmark's process, whose end ends this one.
#include <windows.h>

#include <cstdlib>

namespace {
HANDLE HandleArgument(int index) {
    return index < __argc ? reinterpret_cast<HANDLE>(std::strtoul(__argv[index], nullptr, 10)) : nullptr;
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ReleaseSemaphore(HandleArgument(1), 1, nullptr);
    WaitForSingleObject(HandleArgument(2), INFINITE);
    return 0;
}
