// The sweep over all processes: order, the two opens, the per-process steps,
// what is skipped, handle hygiene and the two errors that end a pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/portable/compaction_pass.h"
#include "fake_process_system.h"

namespace kestrin {
namespace {

using fakes::FakeProcess;
using fakes::FakeProcessSystem;
using Log = std::vector<std::string>;

std::optional<std::string> Sweep(FakeProcessSystem& system) {
    std::vector<uint32_t> buffer;
    return SweepProcesses(system, buffer);
}

std::vector<std::string> Opens(const Log& log) {
    std::vector<std::string> opens;
    std::copy_if(log.begin(), log.end(), std::back_inserter(opens),
                 [](const std::string& entry) { return entry.rfind("open510:", 0) == 0; });
    return opens;
}

TEST(ProcessSweep, HandlesEveryProcessInAscendingUnsignedOrder) {
    FakeProcessSystem system;
    system.ReportedIds = {300, 4, 0xFFFFFFF0u, 8, 0x80000000u, 12};
    ASSERT_EQ(Sweep(system), std::nullopt);
    EXPECT_EQ(Opens(system.Log),
              (Log{"open510:4", "open510:8", "open510:12", "open510:300", "open510:2147483648", "open510:4294967280"}));
}

TEST(ProcessSweep, OrdinaryProcessIsProbedEmptiedReadTrimmedAndClosed) {
    FakeProcessSystem system;
    system.ReportedIds = {42};
    ASSERT_EQ(Sweep(system), std::nullopt);
    EXPECT_EQ(system.Log,
              (Log{"open510:42", "module:42", "name:42", "info:42", "empty:42", "info:42", "trim:42", "close:42"}));
}

TEST(ProcessSweep, RefusedFullOpenFallsBackToQueryAccessAndSkipsSecondReading) {
    FakeProcessSystem system;
    system.ReportedIds = {7};
    system.Processes[7] = FakeProcess{.RefuseFullOpen = true};
    ASSERT_EQ(Sweep(system), std::nullopt);
    // Emptying fails without PROCESS_SET_QUOTA; the trim is still asked for.
    EXPECT_EQ(system.Log,
              (Log{"open510:7", "open410:7", "module:7", "name:7", "info:7", "empty:7", "trim:7", "close:7"}));
}

TEST(ProcessSweep, ProcessRefusingBothOpensIsSkippedSilently) {
    FakeProcessSystem system;
    system.ReportedIds = {5, 9};
    system.Processes[5] = FakeProcess{.RefuseFullOpen = true, .RefuseQueryOpen = true};
    ASSERT_EQ(Sweep(system), std::nullopt);
    EXPECT_EQ(system.Log, (Log{"open510:5", "open410:5", "open510:9", "module:9", "name:9", "info:9", "empty:9",
                               "info:9", "trim:9", "close:9"}));
    EXPECT_EQ(system.Closes, 1);
}

TEST(ProcessSweep, ProcessWithoutModuleListIsStillEmptiedAndTrimmed) {
    FakeProcessSystem system;
    system.ReportedIds = {11};
    system.Processes[11] = FakeProcess{.NoModules = true};
    ASSERT_EQ(Sweep(system), std::nullopt);
    EXPECT_EQ(system.Log, (Log{"open510:11", "module:11", "info:11", "empty:11", "info:11", "trim:11", "close:11"}));
}

// Neither a failed name read nor a failed second reading is a sign that the
// process is gone: it is emptied and trimmed all the same, and the pass goes on.
TEST(ProcessSweep, FailedNameOrSecondReadingStillEmptiesAndTrims) {
    FakeProcessSystem system;
    system.ReportedIds = {20, 30, 31};
    system.Processes[20] = FakeProcess{.NameFails = true};
    system.Processes[30] = FakeProcess{.SecondInfoFails = true};
    ASSERT_EQ(Sweep(system), std::nullopt);
    EXPECT_EQ(system.Log, (Log{"open510:20", "module:20", "name:20", "info:20", "empty:20", "info:20", "trim:20",
                               "close:20", "open510:30", "module:30", "name:30", "info:30", "empty:30", "info:30",
                               "trim:30", "close:30", "open510:31", "module:31", "name:31", "info:31", "empty:31",
                               "info:31", "trim:31", "close:31"}));
}

// A 32-bit program on 64-bit Windows, among 64-bit processes, with the codes
// Windows refuses it with: ERROR_ACCESS_DENIED (5) for an open the process's
// owner does not grant (a service's, another user's), ERROR_PARTIAL_COPY
// (299) for reading a 64-bit process's modules or name. Only a process that
// refuses both opens is skipped; a refused read never spares one.
TEST(ProcessSweep, SixtyFourBitProcessIsSkippedOnlyWhenBothOpensAreRefused) {
    constexpr uint32_t kAccessDenied = 5, kPartialCopy = 299, kGranted = 0;
    struct Case {
        const char* what;
        uint32_t fullOpen, queryOpen, modules, name;  // the error each call fails with, 0: it succeeds
        Log expected;
    };
    const Case cases[] = {
        {"a service's", kAccessDenied, kAccessDenied, kGranted, kGranted, {"open510:9", "open410:9"}},
        {"the user's, no quota right", kAccessDenied, kGranted, kPartialCopy, kGranted,
         {"open510:9", "open410:9", "module:9", "info:9", "empty:9", "trim:9", "close:9"}},
        {"the user's", kGranted, kGranted, kPartialCopy, kGranted,
         {"open510:9", "module:9", "info:9", "empty:9", "info:9", "trim:9", "close:9"}},
        {"the user's, modules listed", kGranted, kGranted, kGranted, kPartialCopy,
         {"open510:9", "module:9", "name:9", "info:9", "empty:9", "info:9", "trim:9", "close:9"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeProcessSystem system;
        system.ReportedIds = {9};
        system.Processes[9] = FakeProcess{.RefuseFullOpen = c.fullOpen != kGranted,
                                          .RefuseQueryOpen = c.queryOpen != kGranted,
                                          .NoModules = c.modules != kGranted,
                                          .NameFails = c.name != kGranted};
        ASSERT_EQ(Sweep(system), std::nullopt);
        EXPECT_EQ(system.Log, c.expected);
    }
}

TEST(ProcessSweep, EveryOpenedHandleIsClosedExactlyOnceWhateverHappened) {
    FakeProcessSystem system;
    system.ReportedIds = {1, 2, 3, 4, 5, 6, 7};
    system.Processes[2] = FakeProcess{.RefuseFullOpen = true};
    system.Processes[3] = FakeProcess{.RefuseFullOpen = true, .RefuseQueryOpen = true};
    system.Processes[4] = FakeProcess{.NoModules = true};
    system.Processes[5] = FakeProcess{.NameFails = true};
    system.Processes[6] = FakeProcess{.SecondInfoFails = true};
    ASSERT_EQ(Sweep(system), std::nullopt);
    EXPECT_EQ(system.Opens, 6);
    EXPECT_EQ(system.Closes, 6);
    EXPECT_EQ(system.BadCloses, 0);
    EXPECT_TRUE(system.OpenHandles.empty());
}

TEST(ProcessSweep, FailedEnumerationEndsThePassWithItsMessage) {
    FakeProcessSystem system;
    system.ReportedIds = {1, 2};
    system.EnumFails = true;
    EXPECT_EQ(Sweep(system), std::optional<std::string>("EnumProcessesに失敗しました。"));
    EXPECT_TRUE(system.Log.empty());
}

TEST(ProcessSweep, FewerThanFourBytesMeansNoProcessAtAll) {
    for (const uint32_t bytes : {0u, 1u, 3u}) {
        SCOPED_TRACE(bytes);
        FakeProcessSystem system;
        system.ReportedIds = {1};
        system.OverrideBytes = true;
        system.BytesToReport = bytes;
        EXPECT_EQ(Sweep(system), std::optional<std::string>("このシステムでは、プロセスは１つも動いてません。"));
        EXPECT_TRUE(system.Log.empty());
    }
}

TEST(ProcessSweep, ByteCountIsDividedByFourDroppingARemainder) {
    FakeProcessSystem system;
    system.ReportedIds = {10, 20, 30};
    system.OverrideBytes = true;
    system.BytesToReport = 11;  // two whole IDs and three stray bytes
    ASSERT_EQ(Sweep(system), std::nullopt);
    EXPECT_EQ(Opens(system.Log), (Log{"open510:10", "open510:20"}));
}

TEST(ProcessSweep, AtMostMaxProcessIdsAreHandledEvenIfMoreBytesAreClaimed) {
    FakeProcessSystem system;
    system.LogEnabled = false;
    for (uint32_t pid = 1; pid <= MaxProcessIds; ++pid) system.ReportedIds.push_back(pid * 4);
    system.OverrideBytes = true;
    system.BytesToReport = kProcessIdBufferBytes + 400;
    ASSERT_EQ(Sweep(system), std::nullopt);
    EXPECT_EQ(system.Opens, static_cast<int>(MaxProcessIds));
    EXPECT_TRUE(system.OpenHandles.empty());
}

TEST(ProcessSweep, IdBufferIsFullSizeAndClearedForEveryPass) {
    FakeProcessSystem system;
    std::vector<uint32_t> buffer;
    system.ReportedIds = {9, 8, 7, 6, 5};
    ASSERT_EQ(SweepProcesses(system, buffer), std::nullopt);
    system.ReportedIds = {3};
    system.Log.clear();
    ASSERT_EQ(SweepProcesses(system, buffer), std::nullopt);
    EXPECT_EQ(system.BufferBytesSeen, (std::vector<uint32_t>{262144, 262144}));
    EXPECT_TRUE(system.BufferWasClearedEveryTime);
    // Nothing of the first pass's IDs is handled again in the second.
    EXPECT_EQ(Opens(system.Log), (Log{"open510:3"}));
}

TEST(ProcessSweep, NameBufferIsPresetWithUnknownBeforeEveryProbe) {
    FakeProcessSystem system;
    system.ReportedIds = {1, 2, 3};
    ASSERT_EQ(Sweep(system), std::nullopt);
    EXPECT_EQ(system.NameBufferSizes, (std::vector<uint32_t>{513, 513, 513}));
    EXPECT_TRUE(system.NameBufferPresetEveryTime);
}

}  // namespace
}  // namespace kestrin
