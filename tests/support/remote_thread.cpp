#include "support/remote_thread.h"

#include <psapi.h>

#include <cstring>
#include <vector>

namespace kestrin::test {

namespace {

std::string BaseName(const char* path) {
    const char* slash = std::strrchr(path, '\\');
    return slash ? slash + 1 : path;
}

std::optional<uintptr_t> RemoteModuleBase(HANDLE process, const std::string& baseName) {
    std::vector<HMODULE> modules(512);
    DWORD needed = 0;
    if (!EnumProcessModules(process, modules.data(), static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &needed))
        return std::nullopt;
    modules.resize(std::min<size_t>(modules.size(), needed / sizeof(HMODULE)));
    for (HMODULE module : modules) {
        char name[MAX_PATH] = {};
        if (GetModuleBaseNameA(process, module, name, sizeof name) && lstrcmpiA(name, baseName.c_str()) == 0)
            return reinterpret_cast<uintptr_t>(module);
    }
    return std::nullopt;
}

}  // namespace

std::optional<DWORD> RunRemoteThread(HANDLE process, uintptr_t start, uintptr_t argument, DWORD timeoutMs) {
    KernelHandle thread(CreateRemoteThread(process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(start),
                                           reinterpret_cast<void*>(argument), 0, nullptr));
    if (!thread || WaitForSingleObject(thread.get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    if (!GetExitCodeThread(thread.get(), &code)) return std::nullopt;
    return code;
}

std::optional<uintptr_t> RemoteAddress(HANDLE process, const void* localAddress) {
    HMODULE local = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<const char*>(localAddress), &local))
        return std::nullopt;
    char path[MAX_PATH] = {};
    if (!GetModuleFileNameA(local, path, sizeof path)) return std::nullopt;
    const auto remote = RemoteModuleBase(process, BaseName(path));
    if (!remote) return std::nullopt;
    return *remote + (reinterpret_cast<uintptr_t>(localAddress) - reinterpret_cast<uintptr_t>(local));
}

RemoteMemory::RemoteMemory(HANDLE process, size_t bytes)
    : process_(process), address_(VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}

RemoteMemory::~RemoteMemory() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

bool RemoteMemory::Write(const void* data, size_t bytes) const {
    SIZE_T written = 0;
    return WriteProcessMemory(process_, address_, data, bytes, &written) && written == bytes;
}

bool RemoteMemory::Read(void* data, size_t bytes) const {
    SIZE_T read = 0;
    return ReadProcessMemory(process_, address_, data, bytes, &read) && read == bytes;
}

InjectedLibrary::InjectedLibrary(HANDLE process, const std::string& dllPath, DWORD timeoutMs)
    : process_(process), timeoutMs_(timeoutMs) {
    localModule_ = LoadLibraryExA(dllPath.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    const auto loadLibrary = RemoteAddress(process, reinterpret_cast<const void*>(&LoadLibraryA));
    if (!localModule_ || !loadLibrary) return;
    RemoteMemory path(process, dllPath.size() + 1);
    if (!path || !path.Write(dllPath.c_str(), dllPath.size() + 1)) return;
    // On 32-bit Windows the thread's exit code is the whole module handle.
    static_assert(sizeof(HMODULE) == sizeof(DWORD));
    if (const auto module = RunRemoteThread(process, *loadLibrary, path.Address(), timeoutMs))
        remoteModule_ = *module;
    else
        path.Abandon();
}

InjectedLibrary::~InjectedLibrary() {
    if (remoteModule_ && !stuck_) {
        if (const auto freeLibrary = RemoteAddress(process_, reinterpret_cast<const void*>(&FreeLibrary)))
            RunRemoteThread(process_, *freeLibrary, remoteModule_, timeoutMs_);
    }
    if (localModule_) FreeLibrary(localModule_);
}

std::optional<DWORD> InjectedLibrary::Call(const char* exportName, uintptr_t argument) const {
    if (!remoteModule_) return std::nullopt;
    const auto local = reinterpret_cast<uintptr_t>(reinterpret_cast<void*>(GetProcAddress(localModule_, exportName)));
    if (!local) return std::nullopt;
    const uintptr_t start = remoteModule_ + (local - reinterpret_cast<uintptr_t>(localModule_));
    const auto result = RunRemoteThread(process_, start, argument, timeoutMs_);
    if (!result) stuck_ = true;
    return result;
}

}  // namespace kestrin::test
