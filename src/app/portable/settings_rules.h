#pragma once
// The ini file's contract: section, keys in their fixed order, defaults, and
// the rules that turn the stored integers into settings and back.
//
// Values that lie outside a field's range are not refused, they fall back to
// the key's default so that start-up always goes on:
//   - "Timer" above 1440 is capped at 1440 (24 hours); below 0 gives 60.
//   - "HKShifts" below 0 gives 1 (MOD_ALT).
//   - "HKChar" outside 0..255 gives 65 (the A key).
//   - "Counter" is kept as it is; <= 0 simply runs no pass of a batch.
//   - Booleans: any non-zero value is true.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "app/portable/shared_state.h"
#include "platform/portable/path_text.h"

namespace kestrin {

inline constexpr std::string_view kSettingsSection = "Settings";
inline constexpr uint32_t kMaxIntervalMinutes = 1440;

// Index of each key in the file order (reading and writing use this order).
enum SettingsKeyIndex : std::size_t {
    kKeyTimer, kKeyMsgBox, kKeyCounter, kKeyManOnce, kKeyUseHK, kKeyHKShifts, kKeyHKChar,
    kSettingsKeyCount
};

struct SettingsKey {
    std::string_view Name;
    int32_t Default;  // booleans: 1 for true, 0 for false
};

inline constexpr std::array<SettingsKey, kSettingsKeyCount> kSettingsKeys{{
    {"Timer", 60},
    {"MsgBox", 1},
    {"Counter", 3},
    {"ManOnce", 1},
    {"UseHK", 0},
    {"HKShifts", 1},
    {"HKChar", 65},
}};

struct SettingsValues {
    uint32_t IntervalMinutes = 60;
    bool ShowNotice = true;
    int32_t PassCount = 3;
    bool ManualOnce = true;
    bool UseHotKey = false;
    uint32_t HotKeyShifts = 1;
    uint8_t HotKeyChar = 65;

    bool operator==(const SettingsValues&) const = default;
};

// The integers as read from the file, in key order, a missing or non-numeric
// value already replaced by that key's default.
using RawSettings = std::array<int32_t, kSettingsKeyCount>;

RawSettings DefaultRawSettings();

// Applies the load rules above.
SettingsValues SettingsFromRaw(const RawSettings& raw);

// The seven (key, text) pairs to write, in key order: integers in decimal,
// booleans as "1" / "0".
std::array<std::pair<std::string_view, std::string>, kSettingsKeyCount>
SettingsToWrite(const SettingsValues& values);

void CopyToRecord(const SettingsValues& values, AppSettingsRecord& record);
SettingsValues CopyFromRecord(const AppSettingsRecord& record);

// Where the settings live: the documents folder (possibly empty) with a
// delimiter, then the program's file name with the extension ".ini".
std::string SettingsPathFor(std::string_view documentsFolder, std::string_view exePath);

}  // namespace kestrin
