#pragma once
// Flags and counters that the main thread and the interval thread share.
// Each is a single byte or an aligned 32-bit word; they are atomics so that
// every write is seen whole by the other thread and nothing is reordered.
// The program has one process-wide SharedState; tests make their own.
#include <atomic>
#include <cstdint>

namespace kestrin {

// The user's settings as the running program holds them (loaded from and
// saved to the ini file; settings_rules.h ties each field to its key).
struct AppSettingsRecord {
    std::atomic<uint32_t> IntervalMinutes{60};  // 0 = no automatic passes
    std::atomic<bool> ShowNotice{true};
    std::atomic<int32_t> PassCount{3};          // passes per batch; <= 0 runs none
    std::atomic<bool> ManualOnce{true};         // a tray click runs one pass, not a batch
    std::atomic<bool> UseHotKey{false};
    std::atomic<uint32_t> HotKeyShifts{1};      // RegisterHotKey modifiers: ALT 1, CONTROL 2, SHIFT 4
    std::atomic<uint8_t> HotKeyChar{65};        // virtual-key code
};

struct SharedState {
    AppSettingsRecord AppSettings;
    std::atomic<bool> StopRequested{false};  // asks the interval thread to end
    std::atomic<bool> ManualRequest{false};  // the passes under way were started by a tray click
    std::atomic<int32_t> NoticeRound{1};     // pass number within a user batch, from 1
    std::atomic<uint32_t> SecondsElapsed{0}; // seconds counted since the last pass of any kind
};

}  // namespace kestrin
