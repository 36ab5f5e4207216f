#include "settings/portable/settings_rules.h"

#include <algorithm>
#include <type_traits>

#include "win32/portable/decimal_text.h"
#include "win32/portable/path_text.h"

namespace kestrin {
namespace {

int64_t Kept(int32_t value, int32_t) { return value; }
int64_t NonZeroIsTrue(int32_t value, int32_t) { return value != 0 ? 1 : 0; }
int64_t CappedAtOneDay(int32_t minutes, int32_t keyDefault) {
    return minutes < 0 ? keyDefault : std::min<int64_t>(minutes, kMaxIntervalMinutes);
}
int64_t NotNegative(int32_t value, int32_t keyDefault) { return value < 0 ? keyDefault : value; }
int64_t WithinAByte(int32_t value, int32_t keyDefault) { return value < 0 || value > 255 ? keyDefault : value; }

template <auto Field>
int64_t ReadField(const AppSettingsRecord& settings) {
    return static_cast<int64_t>((settings.*Field).load());
}

template <auto Field>
void StoreField(AppSettingsRecord& settings, int64_t value) {
    using Value = typename std::remove_reference_t<decltype(settings.*Field)>::value_type;
    (settings.*Field).store(static_cast<Value>(value));
}

// One row of the table, naming its field once.
template <auto Field>
constexpr SettingsField Row(std::string_view name, int32_t keyDefault, SettingKind kind,
                            int64_t (*loadRule)(int32_t, int32_t)) {
    return {name, keyDefault, kind, loadRule, &ReadField<Field>, &StoreField<Field>};
}

using R = AppSettingsRecord;

}  // namespace

extern constexpr std::array<SettingsField, kSettingsKeyCount> kSettingsFields{{
    Row<&R::IntervalMinutes>("Timer", 60, SettingKind::Integer, CappedAtOneDay),
    Row<&R::ShowNotice>("MsgBox", 1, SettingKind::Boolean, NonZeroIsTrue),
    Row<&R::PassCount>("Counter", 3, SettingKind::Integer, Kept),
    Row<&R::ManualOnce>("ManOnce", 1, SettingKind::Boolean, NonZeroIsTrue),
    Row<&R::UseHotKey>("UseHK", 0, SettingKind::Boolean, NonZeroIsTrue),
    Row<&R::HotKeyShifts>("HKShifts", 1, SettingKind::Integer, NotNegative),
    Row<&R::HotKeyChar>("HKChar", 65, SettingKind::Integer, WithinAByte),
}};

void LoadSetting(SettingsKeyIndex key, int32_t fileValue, AppSettingsRecord& settings) {
    const SettingsField& field = kSettingsFields[key];
    field.Store(settings, field.LoadRule(fileValue, field.Default));
}

std::string SettingText(SettingsKeyIndex key, const AppSettingsRecord& settings) {
    const SettingsField& field = kSettingsFields[key];
    const int64_t value = field.Read(settings);
    if (field.Kind == SettingKind::Boolean) return value != 0 ? "1" : "0";
    return DecimalText(value);
}

std::string SettingsPathFor(std::string_view documentsFolder, std::string_view exePath) {
    return IncludeTrailingPathDelimiter(documentsFolder) + ChangeFileExt(ExtractFileName(exePath), ".ini");
}

}  // namespace kestrin
