#include "support/process_resources.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <vector>

#include "win32/handles.h"

namespace kestrin::test {

namespace {

// SystemHandleInformation (16) of NtQuerySystemInformation.
struct HandleEntry {
    ULONG processId;
    UCHAR objectType;
    UCHAR flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
};
struct HandleTable {
    ULONG count;
    HandleEntry entries[1];
};
using QuerySystemInformationFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

long CountHandles(DWORD processId) {
    const auto query = reinterpret_cast<QuerySystemInformationFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return -1;
    std::vector<char> buffer(1 << 20);
    for (int attempt = 0; attempt < 6; ++attempt) {
        ULONG needed = 0;
        const LONG status = query(16, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == 0) {
            const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
            long count = 0;
            for (ULONG i = 0; i < table->count; ++i)
                if (table->entries[i].processId == processId) ++count;
            return count;
        }
        buffer.resize(buffer.size() * 2 + needed);
    }
    return -1;
}

struct WindowCount {
    DWORD processId;
    long count;
};

BOOL CALLBACK CountChild(HWND, LPARAM context) {
    ++reinterpret_cast<WindowCount*>(context)->count;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM context) {
    auto* windows = reinterpret_cast<WindowCount*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != windows->processId) return TRUE;
    ++windows->count;
    EnumChildWindows(window, &CountChild, context);
    return TRUE;
}

}  // namespace

std::string ProcessResources::ToString() const {
    return "handles " + std::to_string(handles) + ", windows " + std::to_string(windows) + ", threads " +
           std::to_string(threads) + ", private bytes " + std::to_string(privateBytes);
}

namespace {

// Calls `visit` with the id of each thread of the process until it returns
// false; false when the threads could not be listed or a visit failed.
template <typename Visit>
bool ForEachThread(DWORD processId, Visit visit) {
    KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 thread{};
    thread.dwSize = sizeof thread;
    if (!snapshot || !Thread32First(snapshot.get(), &thread)) return false;
    do {
        if (thread.th32OwnerProcessID == processId && !visit(thread.th32ThreadID)) return false;
    } while (Thread32Next(snapshot.get(), &thread));
    return true;
}

}  // namespace

ProcessResources ReadProcessResources(DWORD processId) {
    ProcessResources resources;
    resources.handles = CountHandles(processId);
    WindowCount windows{processId, 0};
    EnumWindows(&CountTopLevel, reinterpret_cast<LPARAM>(&windows));
    resources.windows = windows.count;
    ForEachThread(processId, [&](DWORD) {
        ++resources.threads;
        return true;
    });
    KernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    // PagefileUsage: the private bytes (Wine leaves PrivateUsage at 0 for others).
    if (process && GetProcessMemoryInfo(process.get(), &counters, sizeof counters))
        resources.privateBytes = counters.PagefileUsage;
    return resources;
}

bool HasModule(DWORD processId, const std::string& name) {
    KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId));
    MODULEENTRY32 module{};
    module.dwSize = sizeof module;
    if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE || !Module32First(snapshot.get(), &module)) return false;
    do {
        if (lstrcmpiA(module.szModule, name.c_str()) == 0) return true;
    } while (Module32Next(snapshot.get(), &module));
    return false;
}

std::optional<uint64_t> ProcessCpuTime(DWORD processId) {
    uint64_t total = 0;
    const bool read = ForEachThread(processId, [&](DWORD threadId) {
        KernelHandle handle(OpenThread(THREAD_QUERY_INFORMATION, FALSE, threadId));
        FILETIME created, exited, kernel, user;
        if (!handle || !GetThreadTimes(handle.get(), &created, &exited, &kernel, &user)) return false;
        for (const FILETIME& time : {kernel, user})
            total += (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
        return true;
    });
    if (!read) return std::nullopt;
    return total;
}

}  // namespace kestrin::test
