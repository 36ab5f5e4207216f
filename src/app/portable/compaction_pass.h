#pragma once
// One compaction pass: empty and trim the working set of every process the
// system reports, then give the feedback that fits who started the pass.
// The operating system and the controller are reached through the two
// interfaces below, so the whole pass runs against fakes in tests.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "settings/portable/shared_state.h"

namespace kestrin {

inline constexpr uint32_t MaxProcessIds = 65536;
inline constexpr uint32_t kProcessIdBufferBytes = MaxProcessIds * sizeof(uint32_t);
// PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_SET_QUOTA, then
// without PROCESS_SET_QUOTA for processes that refuse the first.
inline constexpr uint32_t kOpenAccessFull = 0x0510;
inline constexpr uint32_t kOpenAccessQuery = 0x0410;
inline constexpr uint32_t kModuleNameBufferSize = 513;
inline constexpr uint32_t kAutomaticEndingSleepMs = 1500;

// The process API the pass uses (psapi and kernel32 on Windows).
class ProcessSystem {
public:
    virtual ~ProcessSystem();
    virtual bool EnumProcesses(uint32_t* ids, uint32_t bufferBytes, uint32_t* bytesReturned) = 0;
    // Returns 0 when the process cannot be opened with that access.
    virtual uintptr_t OpenProcess(uint32_t access, uint32_t pid) = 0;
    virtual bool EnumFirstModule(uintptr_t process, uintptr_t* module) = 0;
    // Returns the length copied, 0 on failure. (Not "GetModuleBaseName":
    // psapi.h makes that name a macro for every source after it.)
    virtual uint32_t ModuleBaseName(uintptr_t process, uintptr_t module, char* buffer, uint32_t size) = 0;
    // PROCESS_MEMORY_COUNTERS of 40 bytes, cleared, its size field set to 40.
    virtual bool GetMemoryInfo(uintptr_t process) = 0;
    virtual bool EmptyWorkingSet(uintptr_t process) = 0;
    // SetProcessWorkingSetSize(process, (SIZE_T)-1, (SIZE_T)-1).
    virtual bool TrimWorkingSet(uintptr_t process) = 0;
    virtual void CloseProcess(uintptr_t process) = 0;
};

// What the pass needs from the controller that runs it.
class PassHost {
public:
    virtual ~PassHost();
    virtual bool OnIntervalThread() = 0;
    // Reads the controller's pointer to the interval thread, which only the
    // main thread may do: asked only after OnIntervalThread() said false.
    virtual bool HasIntervalThread() = 0;
    virtual void PauseInterval() = 0;
    virtual void ResumeInterval() = 0;
    // Creates the notice, waits >= 1000 ms by the tick count (handling the
    // application's messages meanwhile or not), releases it. Called from the
    // interval thread too: the host then runs it on the main thread.
    virtual void ShowNotice(bool handleMessages) = 0;
    virtual bool Animating() = 0;
    virtual void StartAnimation() = 0;
    virtual void StopAnimation() = 0;
    virtual void Sleep(uint32_t ms) = 0;
    // Error box "エラー" with MB_ICONERROR, then asks the application to end.
    virtual void FailPass(const std::string& message) = 0;
};

// Sorts process IDs ascending (unsigned), in O(n log n).
void SortProcessIds(std::span<uint32_t> ids);

// Empties and trims every process that can be opened. `idBuffer` is resized
// to MaxProcessIds and cleared; it is the caller's so that one buffer serves
// a whole pass (or many). Returns the error text when the pass must fail.
//
// Nothing another process does fails the pass, and a process that is still
// alive is emptied and trimmed like any other: a module name that cannot be
// read (the name is never used) goes on to the counters, EmptyWorkingSet and
// TrimWorkingSet; a second memory reading that fails after a successful
// EmptyWorkingSet still goes on to TrimWorkingSet.
std::optional<std::string> SweepProcesses(ProcessSystem& system, std::vector<uint32_t>& idBuffer);

// The whole pass: the sweep, then either FailPass (and nothing else) or the
// ending. The ending is the user way when IntervalMinutes is 0 or
// ManualRequest is set (notice rules, SecondsElapsed reset, the interval
// thread paused meanwhile unless the pass runs on that very thread), and the
// automatic way otherwise (1.5 s of tray animation, SecondsElapsed reset).
void Compact(ProcessSystem& system, PassHost& host, SharedState& state);

}  // namespace kestrin
