#include "pass_calls.h"

#include <windows.h>
// psapi.dll's own entry points, as Kestrin imports them.
#define PSAPI_VERSION 1
#include <psapi.h>

namespace kestrin::peers {

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

}  // namespace

void TracedPass() {
    OutputDebugStringA("Kestrin: pass start\n");
    Sweep();
    OutputDebugStringA("Kestrin: pass end\n");
}

}  // namespace kestrin::peers
