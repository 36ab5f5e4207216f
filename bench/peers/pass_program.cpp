// The floor of a compaction pass: the calls Kestrin's pass makes
// (SweepProcesses in src/app/portable/compaction_pass.cpp through
// src/app/windows_process_system.cpp), with the same arguments and in the
// same order for each process, and nothing around them (the process IDs are
// taken as the system lists them; Kestrin sorts them first). It writes the same diagnostic lines
// around each pass as Kestrin ("Kestrin: pass start", "Kestrin: pass end"),
// so that the benchmark times both the same way.
//
// Command line: the handle values of an inherited auto-reset event that
// starts one pass, and of this program's parent, whose end ends it too.
#include <windows.h>
// psapi.dll's own entry points, as Kestrin imports them.
#define PSAPI_VERSION 1
#include <psapi.h>

#include <cstdlib>

namespace {

constexpr DWORD kMaxProcessIds = 65536;
constexpr DWORD kOpenAccessFull = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_SET_QUOTA;
constexpr DWORD kOpenAccessQuery = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;
constexpr DWORD kModuleNameBufferSize = 513;

DWORD processIds[kMaxProcessIds];
char moduleName[kModuleNameBufferSize];

void CompactProcess(HANDLE process) {
    HMODULE first = nullptr;
    DWORD needed = 0;
    if (EnumProcessModules(process, &first, sizeof first, &needed))
        GetModuleBaseNameA(process, first, moduleName, kModuleNameBufferSize);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process, &counters, sizeof counters);
    if (EmptyWorkingSet(process)) GetProcessMemoryInfo(process, &counters, sizeof counters);
    SetProcessWorkingSetSize(process, static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

void Sweep() {
    DWORD bytes = 0;
    if (!EnumProcesses(processIds, sizeof processIds, &bytes)) return;
    for (DWORD i = 0; i < bytes / sizeof(DWORD); ++i) {
        HANDLE process = OpenProcess(kOpenAccessFull, FALSE, processIds[i]);
        if (!process) process = OpenProcess(kOpenAccessQuery, FALSE, processIds[i]);
        if (!process) continue;
        CompactProcess(process);
        CloseHandle(process);
    }
}

HANDLE HandleArgument(int index) {
    return index < __argc ? reinterpret_cast<HANDLE>(std::strtoul(__argv[index], nullptr, 10)) : nullptr;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const HANDLE waits[] = {HandleArgument(1), HandleArgument(2)};
    while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0) {
        OutputDebugStringA("Kestrin: pass start\n");
        Sweep();
        OutputDebugStringA("Kestrin: pass end\n");
    }
    return 0;
}
