#pragma once
// The ini file's contract: one table of the seven keys in their fixed order,
// each with its default, its kind, the rule that turns the stored integer into
// the setting, and the field of AppSettingsRecord it loads into and is written
// from. Loading and writing go through this table and nothing else.
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

#include "settings/portable/shared_state.h"

namespace kestrin {

inline constexpr std::string_view kSettingsSection = "Settings";
inline constexpr uint32_t kMaxIntervalMinutes = 1440;

// Index of each key in the file order (reading and writing use this order).
enum SettingsKeyIndex : std::size_t {
    kKeyTimer, kKeyMsgBox, kKeyCounter, kKeyManOnce, kKeyUseHK, kKeyHKShifts, kKeyHKChar,
    kSettingsKeyCount
};

// Booleans are written as "1" / "0", integers in decimal.
enum class SettingKind { Integer, Boolean };

struct SettingsField {
    std::string_view Name;
    int32_t Default;  // for a missing key or a value that is no integer; booleans 1 / 0
    SettingKind Kind;
    // What a value read from the file becomes (given the key's default).
    int64_t (*LoadRule)(int32_t fileValue, int32_t keyDefault);
    // The field of the record behind the key, as a number (booleans 1 / 0).
    int64_t (*Read)(const AppSettingsRecord& settings);
    void (*Store)(AppSettingsRecord& settings, int64_t value);
};

extern const std::array<SettingsField, kSettingsKeyCount> kSettingsFields;

// Applies the key's load rule to a value as read from the file (a missing or
// non-numeric one already replaced by the default) and stores it in its field.
void LoadSetting(SettingsKeyIndex key, int32_t fileValue, AppSettingsRecord& settings);

// The text written for the key from the record's field.
std::string SettingText(SettingsKeyIndex key, const AppSettingsRecord& settings);

// Where the settings live: the documents folder (possibly empty) with a
// delimiter, then the program's file name with the extension ".ini".
std::string SettingsPathFor(std::string_view documentsFolder, std::string_view exePath);

}  // namespace kestrin
