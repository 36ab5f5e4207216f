#pragma once
// Flags and counters that the main thread and the interval thread share.
// Each is a single byte or an aligned 32-bit word; they are atomics so that
// every write is seen whole by the other thread and nothing is reordered.
// The program has one process-wide SharedState; tests make their own.
#include <atomic>
#include <cstdint>

namespace kestrin {

// The user's settings as the running program holds them, loaded from and
// saved to the ini file under the key named beside each field (the table in
// settings_rules.cpp ties them).
struct AppSettingsRecord {
    std::atomic<uint32_t> IntervalMinutes{60};  // "Timer"; 0 = no automatic passes
    std::atomic<bool> ShowNotice{true};         // "MsgBox"
    std::atomic<int32_t> PassCount{3};          // "Counter": passes per batch; <= 0 runs none
    std::atomic<bool> ManualOnce{true};         // "ManOnce": a tray click runs one pass, not a batch
    std::atomic<bool> UseHotKey{false};         // "UseHK"
    std::atomic<uint32_t> HotKeyShifts{1};      // "HKShifts": RegisterHotKey modifiers: ALT 1, CONTROL 2, SHIFT 4
    std::atomic<uint8_t> HotKeyChar{65};        // "HKChar": virtual-key code
};

struct SharedState {
    AppSettingsRecord AppSettings;
    std::atomic<bool> StopRequested{false};  // asks the interval thread to end
    std::atomic<bool> ManualRequest{false};  // the passes under way were started by a tray click
    // Pass number within a user batch, from 1; the batch's notice comes when it
    // reaches PassCount ("Counter"), see EndUserWay in compaction_pass.cpp.
    std::atomic<int32_t> NoticeRound{1};
    std::atomic<uint32_t> SecondsElapsed{0}; // seconds counted since the last pass of any kind
};

}  // namespace kestrin
