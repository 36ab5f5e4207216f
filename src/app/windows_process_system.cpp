#include "app/windows_process_system.h"

#include <windows.h>
#include <psapi.h>

namespace kestrin {

namespace {
HANDLE AsHandle(uintptr_t process) { return reinterpret_cast<HANDLE>(process); }
}  // namespace

bool WindowsProcessSystem::EnumProcesses(uint32_t* ids, uint32_t bufferBytes, uint32_t* bytesReturned) {
    static_assert(sizeof(DWORD) == sizeof(uint32_t));
    DWORD returned = 0;
    const BOOL ok = ::EnumProcesses(reinterpret_cast<DWORD*>(ids), bufferBytes, &returned);
    *bytesReturned = returned;
    return ok != FALSE;
}

uintptr_t WindowsProcessSystem::OpenProcess(uint32_t access, uint32_t pid) {
    return reinterpret_cast<uintptr_t>(::OpenProcess(access, FALSE, pid));
}

bool WindowsProcessSystem::EnumFirstModule(uintptr_t process, uintptr_t* module) {
    HMODULE first = nullptr;
    DWORD needed = 0;
    const BOOL ok = ::EnumProcessModules(AsHandle(process), &first, sizeof first, &needed);
    *module = reinterpret_cast<uintptr_t>(first);
    return ok != FALSE;
}

uint32_t WindowsProcessSystem::ModuleBaseName(uintptr_t process, uintptr_t module, char* buffer, uint32_t size) {
    return ::GetModuleBaseNameA(AsHandle(process), reinterpret_cast<HMODULE>(module), buffer, size);
}

bool WindowsProcessSystem::GetMemoryInfo(uintptr_t process) {
    PROCESS_MEMORY_COUNTERS counters{};
    static_assert(sizeof counters == 40);
    counters.cb = sizeof counters;
    return ::GetProcessMemoryInfo(AsHandle(process), &counters, sizeof counters) != FALSE;
}

bool WindowsProcessSystem::EmptyWorkingSet(uintptr_t process) {
    return ::EmptyWorkingSet(AsHandle(process)) != FALSE;
}

bool WindowsProcessSystem::TrimWorkingSet(uintptr_t process) {
    return ::SetProcessWorkingSetSize(AsHandle(process), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1)) != FALSE;
}

void WindowsProcessSystem::CloseProcess(uintptr_t process) { ::CloseHandle(AsHandle(process)); }

}  // namespace kestrin
