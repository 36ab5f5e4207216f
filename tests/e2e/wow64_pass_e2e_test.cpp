// On 64-bit Windows the program runs under WoW64, and most processes its
// pass goes through are 64-bit: a 32-bit caller may open them but cannot
// read their modules (Windows answers ERROR_PARTIAL_COPY, Wine 998). The pass
// must empty and trim them all the same; one that skipped them would leave
// most of the memory on nearly every user's machine where it was.
//
// Watched from outside the program: its calls as Wine's relay trace shows
// them, set against the processes this test sees and their bitness.
#include <windows.h>
#include <psapi.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "win32/handles.h"
#include "support/kestrin_env.h"
#include "support/kestrin_process.h"
#include "support/relay_trace.h"

using namespace kestrin;
using namespace kestrin::test;

namespace {

using Steps = std::vector<std::string>;

// Every process this test may open, and whether it is a 64-bit one.
std::map<DWORD, bool> ProcessesBy64Bit() {
    std::vector<DWORD> ids(4096);
    DWORD bytes = 0;
    std::map<DWORD, bool> processes;
    if (!EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes)) return processes;
    for (DWORD i = 0; i < bytes / sizeof(DWORD); ++i) {
        KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, ids[i]));
        BOOL wow64 = FALSE;
        // Seen from under WoW64, a process that is not under WoW64 itself is 64-bit.
        if (process && IsWow64Process(process.get(), &wow64)) processes[ids[i]] = !wow64;
    }
    return processes;
}

// The calls on an opened process's handle, each with what it is called
// when it succeeds and when it fails.
struct Step {
    const char* function;
    const char* done;
    const char* failed;
};
constexpr Step kSteps[] = {
    {"psapi.EnumProcessModules", "modules listed", "modules refused"},
    {"psapi.GetModuleBaseNameA", "name read", "name refused"},
    {"psapi.EmptyWorkingSet", "emptied", "not emptied"},
    {"KERNEL32.SetProcessWorkingSetSize", "trimmed", "not trimmed"},
    {"KERNEL32.CloseHandle", "closed", "not closed"},
};

// What the pass did to each process, by process ID, from its traced calls.
std::map<DWORD, Steps> StepsByProcess(const std::vector<RelayCall>& calls) {
    std::map<DWORD, Steps> steps;
    std::map<unsigned long, DWORD> opened;  // handle -> process ID
    for (const RelayCall& call : calls) {
        const std::vector<unsigned long>& arguments = call.arguments;
        if (call.function == "KERNEL32.OpenProcess" && arguments.size() == 3) {
            steps[arguments[2]].push_back(call.result ? "opened" : "refused");
            if (call.result) opened[call.result] = arguments[2];
            continue;
        }
        const auto process = arguments.empty() ? opened.end() : opened.find(arguments[0]);
        if (process == opened.end()) continue;
        for (const Step& step : kSteps)
            if (call.function == step.function) steps[process->second].push_back(call.result ? step.done : step.failed);
        if (call.function == "KERNEL32.CloseHandle") opened.erase(process);
    }
    return steps;
}

}  // namespace

TEST(Wow64PassE2E, EveryProcessIsEmptiedAndTrimmedThoughOnlyThe32BitOnesGiveTheirNames) {
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    if (!wow64) GTEST_SKIP() << "not under WoW64: a 32-bit prefix has no 64-bit process (KESTRIN_WINEARCH=win64)";
    RelayTrace trace(
        "KERNEL32.OpenProcess;psapi.EnumProcessModules;psapi.GetModuleBaseNameA;psapi.EmptyWorkingSet;"
        "KERNEL32.SetProcessWorkingSetSize;KERNEL32.CloseHandle;user32.MessageBoxA");
    ASSERT_TRUE(trace.Readable()) << "no trace to read: run the test through build/win/wine-run";
    WriteIni({"MsgBox=0"});

    const std::map<DWORD, bool> before = ProcessesBy64Bit();
    KestrinProcess k("/n");
    ASSERT_TRUE(k.WaitForExit(30000));
    const std::map<DWORD, bool> after = ProcessesBy64Bit();
    EXPECT_EQ(k.CountLines("pass end"), 1u);
    EXPECT_EQ(k.ExitCode(), 0u);

    const std::vector<RelayCall> calls = trace.Calls(k.ProcessId());
    std::map<DWORD, Steps> steps = StepsByProcess(calls);
    const std::map<bool, Steps> expected = {
        {true, {"opened", "modules refused", "emptied", "trimmed", "closed"}},
        {false, {"opened", "modules listed", "name read", "emptied", "trimmed", "closed"}},
    };
    std::map<bool, int> seen;
    for (const auto& [id, is64Bit] : before) {
        if (!after.contains(id)) continue;  // it ended meanwhile
        ++seen[is64Bit];
        EXPECT_EQ(steps[id], expected.at(is64Bit)) << (is64Bit ? "64" : "32") << "-bit process " << id;
    }
    EXPECT_GT(seen[true], 0) << "no 64-bit process was there to pass over";
    EXPECT_GT(seen[false], 0) << "no 32-bit process was there to pass over";
    for (const RelayCall& call : calls) EXPECT_NE(call.function, "user32.MessageBoxA") << "a message box was shown";
    RemoveIni();
}
