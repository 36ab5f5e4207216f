#include "app/portable/settings_rules.h"

namespace kestrin {
namespace {

std::string BoolText(bool value) { return value ? "1" : "0"; }

}  // namespace

RawSettings DefaultRawSettings() {
    RawSettings raw{};
    for (std::size_t i = 0; i < kSettingsKeyCount; ++i) raw[i] = kSettingsKeys[i].Default;
    return raw;
}

SettingsValues SettingsFromRaw(const RawSettings& raw) {
    SettingsValues values;

    const int32_t timer = raw[kKeyTimer];
    if (timer < 0) {
        values.IntervalMinutes = static_cast<uint32_t>(kSettingsKeys[kKeyTimer].Default);
    } else {
        values.IntervalMinutes = static_cast<uint32_t>(timer) > kMaxIntervalMinutes
                                     ? kMaxIntervalMinutes
                                     : static_cast<uint32_t>(timer);
    }

    values.ShowNotice = raw[kKeyMsgBox] != 0;
    values.PassCount = raw[kKeyCounter];
    values.ManualOnce = raw[kKeyManOnce] != 0;
    values.UseHotKey = raw[kKeyUseHK] != 0;

    const int32_t shifts = raw[kKeyHKShifts];
    values.HotKeyShifts = static_cast<uint32_t>(shifts < 0 ? kSettingsKeys[kKeyHKShifts].Default : shifts);

    const int32_t key = raw[kKeyHKChar];
    values.HotKeyChar = static_cast<uint8_t>(key < 0 || key > 255 ? kSettingsKeys[kKeyHKChar].Default : key);

    return values;
}

std::array<std::pair<std::string_view, std::string>, kSettingsKeyCount>
SettingsToWrite(const SettingsValues& values) {
    return {{
        {kSettingsKeys[kKeyTimer].Name, std::to_string(values.IntervalMinutes)},
        {kSettingsKeys[kKeyMsgBox].Name, BoolText(values.ShowNotice)},
        {kSettingsKeys[kKeyCounter].Name, std::to_string(values.PassCount)},
        {kSettingsKeys[kKeyManOnce].Name, BoolText(values.ManualOnce)},
        {kSettingsKeys[kKeyUseHK].Name, BoolText(values.UseHotKey)},
        {kSettingsKeys[kKeyHKShifts].Name, std::to_string(values.HotKeyShifts)},
        {kSettingsKeys[kKeyHKChar].Name, std::to_string(values.HotKeyChar)},
    }};
}

void CopyToRecord(const SettingsValues& values, AppSettingsRecord& record) {
    record.IntervalMinutes = values.IntervalMinutes;
    record.ShowNotice = values.ShowNotice;
    record.PassCount = values.PassCount;
    record.ManualOnce = values.ManualOnce;
    record.UseHotKey = values.UseHotKey;
    record.HotKeyShifts = values.HotKeyShifts;
    record.HotKeyChar = values.HotKeyChar;
}

SettingsValues CopyFromRecord(const AppSettingsRecord& record) {
    SettingsValues values;
    values.IntervalMinutes = record.IntervalMinutes;
    values.ShowNotice = record.ShowNotice;
    values.PassCount = record.PassCount;
    values.ManualOnce = record.ManualOnce;
    values.UseHotKey = record.UseHotKey;
    values.HotKeyShifts = record.HotKeyShifts;
    values.HotKeyChar = record.HotKeyChar;
    return values;
}

std::string SettingsPathFor(std::string_view documentsFolder, std::string_view exePath) {
    return IncludeTrailingPathDelimiter(documentsFolder) + ChangeFileExt(ExtractFileName(exePath), ".ini");
}

}  // namespace kestrin
