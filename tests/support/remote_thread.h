#pragma once
// Running code inside another process: a thread started there
// (CreateRemoteThread), memory borrowed there, and a DLL of ours loaded
// there for as long as an object of ours lives.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "win32/handles.h"

namespace kestrin::test {

// Starts `start(argument)` on a new thread of `process` and waits for it;
// its exit code, or nothing when it could not start or did not end in time.
std::optional<DWORD> RunRemoteThread(HANDLE process, uintptr_t start, uintptr_t argument, DWORD timeoutMs);

// Where `localAddress`, inside a module loaded here, lies in the same module
// loaded in `process`; nothing when that process has no such module.
std::optional<uintptr_t> RemoteAddress(HANDLE process, const void* localAddress);

// A block of memory in another process, freed with the object.
class RemoteMemory {
public:
    RemoteMemory(HANDLE process, size_t bytes);
    ~RemoteMemory();
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    uintptr_t Address() const { return reinterpret_cast<uintptr_t>(address_); }
    explicit operator bool() const { return address_ != nullptr; }
    bool Write(const void* data, size_t bytes) const;
    bool Read(void* data, size_t bytes) const;
    // Leaves the block where it is (a thread there may still be using it).
    void Abandon() { address_ = nullptr; }

private:
    HANDLE process_;
    void* address_;
};

// A DLL loaded into another process (LoadLibraryA on a remote thread) and
// unloaded again (FreeLibrary, likewise) when the object goes.
class InjectedLibrary {
public:
    InjectedLibrary(HANDLE process, const std::string& dllPath, DWORD timeoutMs);
    ~InjectedLibrary();
    InjectedLibrary(const InjectedLibrary&) = delete;
    InjectedLibrary& operator=(const InjectedLibrary&) = delete;

    explicit operator bool() const { return remoteModule_ != 0; }
    // Runs the DLL's exported `DWORD WINAPI name(void*)` there on a thread of its own.
    std::optional<DWORD> Call(const char* exportName, uintptr_t argument) const;

private:
    HANDLE process_;
    DWORD timeoutMs_;
    HMODULE localModule_ = nullptr;  // the same file mapped here, not run, for its export table
    uintptr_t remoteModule_ = 0;
    mutable bool stuck_ = false;     // a thread that did not end keeps the DLL where it is
};

}  // namespace kestrin::test
