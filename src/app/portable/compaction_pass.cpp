#include "app/portable/compaction_pass.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace kestrin {

ProcessSystem::~ProcessSystem() = default;
PassHost::~PassHost() = default;

namespace {

// Closes an opened process handle on every way out of its step.
class OpenedProcess {
public:
    OpenedProcess(ProcessSystem& system, uintptr_t handle) : system_(system), handle_(handle) {}
    ~OpenedProcess() { system_.CloseProcess(handle_); }
    OpenedProcess(const OpenedProcess&) = delete;
    OpenedProcess& operator=(const OpenedProcess&) = delete;
    uintptr_t Get() const { return handle_; }

private:
    ProcessSystem& system_;
    uintptr_t handle_;
};

// Resumes the interval thread however the user-way ending is left.
class IntervalPause {
public:
    IntervalPause(PassHost& host, bool active) : host_(host), active_(active) {
        if (active_) host_.PauseInterval();
    }
    ~IntervalPause() {
        if (active_) host_.ResumeInterval();
    }
    IntervalPause(const IntervalPause&) = delete;
    IntervalPause& operator=(const IntervalPause&) = delete;

private:
    PassHost& host_;
    bool active_;
};

// Empties and trims one opened process. The module name is probed but never
// used, and the counters are read but not evaluated, so neither a failed name
// read nor a failed reading stops the emptying and trimming: a process that
// still runs gets both, and one that has exited just fails them quietly.
void CompactProcess(ProcessSystem& system, uintptr_t process, std::array<char, kModuleNameBufferSize>& name) {
    name.fill('\0');
    std::memcpy(name.data(), "Unknown", sizeof("Unknown"));
    uintptr_t module = 0;
    if (system.EnumFirstModule(process, &module)) {
        system.ModuleBaseName(process, module, name.data(), kModuleNameBufferSize);
    }
    system.GetMemoryInfo(process);
    // A handle from the second open lacks PROCESS_SET_QUOTA, so emptying fails
    // for it; only a successful empty is followed by the second reading.
    if (system.EmptyWorkingSet(process)) system.GetMemoryInfo(process);
    system.TrimWorkingSet(process);
}

void EndUserWay(PassHost& host, SharedState& state) {
    AppSettingsRecord& settings = state.AppSettings;
    // A pass on the interval thread must not pause the thread that runs it,
    // nor read the controller's pointer to that thread: the thread is asked
    // first so that the pointer is only read on the main thread.
    IntervalPause pause(host, !host.OnIntervalThread() && host.HasIntervalThread());
    if (settings.ShowNotice) {
        if (settings.ManualOnce) {
            host.ShowNotice(false);
            state.ManualRequest = false;
        } else if (state.NoticeRound >= settings.PassCount) {
            // Reaching or passing the count ends the batch: a count lowered
            // under the current round, or one of zero or less, must not keep
            // the notice away for good.
            host.ShowNotice(true);
            state.NoticeRound = 1;
            state.ManualRequest = false;
        } else {
            ++state.NoticeRound;
        }
    }
    state.SecondsElapsed = 0;
}

void EndAutomaticWay(PassHost& host, SharedState& state) {
    if (!host.Animating()) host.StartAnimation();
    host.Sleep(kAutomaticEndingSleepMs);
    host.StopAnimation();
    state.SecondsElapsed = 0;
}

}  // namespace

void SortProcessIds(std::span<uint32_t> ids) { std::sort(ids.begin(), ids.end()); }

std::optional<std::string> SweepProcesses(ProcessSystem& system, std::vector<uint32_t>& idBuffer) {
    idBuffer.assign(MaxProcessIds, 0);
    uint32_t bytesReturned = 0;
    if (!system.EnumProcesses(idBuffer.data(), kProcessIdBufferBytes, &bytesReturned)) {
        return "EnumProcessesに失敗しました。";
    }
    if (bytesReturned < sizeof(uint32_t)) return "このシステムでは、プロセスは１つも動いてません。";

    const uint32_t count = std::min(bytesReturned / static_cast<uint32_t>(sizeof(uint32_t)), MaxProcessIds);
    std::span<uint32_t> ids(idBuffer.data(), count);
    SortProcessIds(ids);

    std::array<char, kModuleNameBufferSize> name{};
    for (const uint32_t pid : ids) {
        uintptr_t handle = system.OpenProcess(kOpenAccessFull, pid);
        if (handle == 0) handle = system.OpenProcess(kOpenAccessQuery, pid);
        if (handle == 0) continue;  // not ours to touch; skipped without a word
        OpenedProcess process(system, handle);
        CompactProcess(system, process.Get(), name);
    }
    return std::nullopt;
}

void Compact(ProcessSystem& system, PassHost& host, SharedState& state) {
    std::vector<uint32_t> idBuffer;
    if (const auto error = SweepProcesses(system, idBuffer)) {
        host.FailPass(*error);
        return;
    }
    if (state.AppSettings.IntervalMinutes == 0 || state.ManualRequest) {
        EndUserWay(host, state);
    } else {
        EndAutomaticWay(host, state);
    }
}

}  // namespace kestrin
