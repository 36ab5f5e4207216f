#pragma once
// A process table for the compaction pass: each fake process can refuse
// either open, lose its module list, or fail its name or memory reading.
// Every call is logged as "<op>:<pid>" so tests compare whole call sequences.
#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/portable/compaction_pass.h"

namespace kestrin::fakes {

struct FakeProcess {
    bool RefuseFullOpen = false;
    bool RefuseQueryOpen = false;
    bool NoModules = false;
    bool NameFails = false;
    bool SecondInfoFails = false;  // the reading right after the emptying fails
};

class FakeProcessSystem : public ProcessSystem {
public:
    // IDs in the order EnumProcesses reports them; duplicates allowed.
    std::vector<uint32_t> ReportedIds;
    std::map<uint32_t, FakeProcess> Processes;  // absent = an ordinary process
    bool EnumFails = false;
    bool OverrideBytes = false;  // report BytesToReport instead of the real count
    uint32_t BytesToReport = 0;

    std::vector<std::string> Log;
    bool LogEnabled = true;

    // What the pass handed over.
    std::vector<uint32_t> BufferBytesSeen;
    bool BufferWasClearedEveryTime = true;
    bool NameBufferPresetEveryTime = true;
    std::vector<uint32_t> NameBufferSizes;

    // Handle bookkeeping.
    std::set<uintptr_t> OpenHandles;
    int Opens = 0;
    int Closes = 0;
    int BadCloses = 0;  // closing something not open (twice, or never opened)

    bool EnumProcesses(uint32_t* ids, uint32_t bufferBytes, uint32_t* bytesReturned) override {
        BufferBytesSeen.push_back(bufferBytes);
        for (uint32_t i = 0; i < bufferBytes / 4; ++i) {
            if (ids[i] != 0) BufferWasClearedEveryTime = false;
        }
        if (EnumFails) return false;
        uint32_t written = 0;
        for (; written < ReportedIds.size() && written < bufferBytes / 4; ++written) ids[written] = ReportedIds[written];
        *bytesReturned = OverrideBytes ? BytesToReport : written * 4;
        return true;
    }

    uintptr_t OpenProcess(uint32_t access, uint32_t pid) override {
        const FakeProcess p = Find(pid);
        Record(access == kOpenAccessFull ? "open510" : access == kOpenAccessQuery ? "open410" : "open?", pid);
        if (access == kOpenAccessFull && p.RefuseFullOpen) return 0;
        if (access == kOpenAccessQuery && p.RefuseQueryOpen) return 0;
        if (access != kOpenAccessFull && access != kOpenAccessQuery) return 0;
        const uintptr_t handle = nextHandle_++;
        handles_[handle] = {pid, access};
        OpenHandles.insert(handle);
        ++Opens;
        return handle;
    }

    bool EnumFirstModule(uintptr_t process, uintptr_t* module) override {
        const uint32_t pid = PidOf(process);
        Record("module", pid);
        if (Find(pid).NoModules) return false;
        *module = 0x400000 + pid;
        return true;
    }

    uint32_t ModuleBaseName(uintptr_t process, uintptr_t module, char* buffer, uint32_t size) override {
        const uint32_t pid = PidOf(process);
        Record("name", pid);
        NameBufferSizes.push_back(size);
        if (module != 0x400000 + pid) return 0;
        if (std::strcmp(buffer, "Unknown") != 0) NameBufferPresetEveryTime = false;
        for (uint32_t i = sizeof("Unknown"); i < 512 && i < size; ++i) {
            if (buffer[i] != 0) NameBufferPresetEveryTime = false;
        }
        if (Find(pid).NameFails) return 0;
        // A long name, so a missing preset of the next probe would show.
        const std::string name = "process_with_a_rather_long_module_name_" + std::to_string(pid) + ".exe";
        std::memcpy(buffer, name.c_str(), name.size() + 1);
        return static_cast<uint32_t>(name.size());
    }

    bool GetMemoryInfo(uintptr_t process) override {
        const uint32_t pid = PidOf(process);
        Record("info", pid);
        return !(Find(pid).SecondInfoFails && emptied_.count(process) != 0);
    }

    // Emptying needs PROCESS_SET_QUOTA, which only the first open grants.
    bool EmptyWorkingSet(uintptr_t process) override {
        const uint32_t pid = PidOf(process);
        Record("empty", pid);
        if (handles_[process].Access != kOpenAccessFull) return false;
        emptied_.insert(process);
        return true;
    }

    bool TrimWorkingSet(uintptr_t process) override {
        Record("trim", PidOf(process));
        return true;
    }

    void CloseProcess(uintptr_t process) override {
        ++Closes;
        if (OpenHandles.erase(process) == 0) {
            ++BadCloses;
            return;
        }
        Record("close", handles_[process].Pid);
    }

private:
    struct HandleInfo {
        uint32_t Pid = 0;
        uint32_t Access = 0;
    };

    FakeProcess Find(uint32_t pid) const {
        const auto it = Processes.find(pid);
        return it == Processes.end() ? FakeProcess{} : it->second;
    }
    uint32_t PidOf(uintptr_t handle) const {
        const auto it = handles_.find(handle);
        return it == handles_.end() ? 0xDEADu : it->second.Pid;
    }
    void Record(const std::string& op, uint32_t pid) {
        if (LogEnabled) Log.push_back(op + ":" + std::to_string(pid));
    }

    uintptr_t nextHandle_ = 0x100;
    std::map<uintptr_t, HandleInfo> handles_;
    std::set<uintptr_t> emptied_;
};

}  // namespace kestrin::fakes
