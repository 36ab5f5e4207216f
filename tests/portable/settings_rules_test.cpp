// The ini file's keys, defaults and load rules, what is written back, and
// where the file lives.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "app/portable/settings_rules.h"

namespace kestrin {
namespace {

RawSettings With(SettingsKeyIndex key, int32_t value) {
    RawSettings raw = DefaultRawSettings();
    raw[key] = value;
    return raw;
}

TEST(SettingsRules, KeysInFileOrderWithTheirDefaults) {
    std::vector<std::string> names;
    std::vector<int32_t> defaults;
    for (const SettingsKey& key : kSettingsKeys) {
        names.emplace_back(key.Name);
        defaults.push_back(key.Default);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Timer", "MsgBox", "Counter", "ManOnce", "UseHK", "HKShifts", "HKChar"}));
    EXPECT_EQ(defaults, (std::vector<int32_t>{60, 1, 3, 1, 0, 1, 65}));
    EXPECT_EQ(kSettingsSection, "Settings");
}

TEST(SettingsRules, MissingFileGivesTheDefaults) {
    const SettingsValues values = SettingsFromRaw(DefaultRawSettings());
    EXPECT_EQ(values.IntervalMinutes, 60u);
    EXPECT_TRUE(values.ShowNotice);
    EXPECT_EQ(values.PassCount, 3);
    EXPECT_TRUE(values.ManualOnce);
    EXPECT_FALSE(values.UseHotKey);
    EXPECT_EQ(values.HotKeyShifts, 1u);  // MOD_ALT
    EXPECT_EQ(values.HotKeyChar, 65);    // 'A'
    EXPECT_EQ(values, SettingsValues{});
}

TEST(SettingsRules, TimerIsCappedAtOneDay) {
    EXPECT_EQ(SettingsFromRaw(With(kKeyTimer, 5000)).IntervalMinutes, 1440u);
    EXPECT_EQ(SettingsFromRaw(With(kKeyTimer, 1441)).IntervalMinutes, 1440u);
    EXPECT_EQ(SettingsFromRaw(With(kKeyTimer, INT32_MAX)).IntervalMinutes, 1440u);
    EXPECT_EQ(SettingsFromRaw(With(kKeyTimer, 1440)).IntervalMinutes, 1440u);
    EXPECT_EQ(SettingsFromRaw(With(kKeyTimer, 1)).IntervalMinutes, 1u);
    EXPECT_EQ(SettingsFromRaw(With(kKeyTimer, 0)).IntervalMinutes, 0u);
}

TEST(SettingsRules, NegativeTimerFallsBackToTheDefault) {
    EXPECT_EQ(SettingsFromRaw(With(kKeyTimer, -1)).IntervalMinutes, 60u);
    EXPECT_EQ(SettingsFromRaw(With(kKeyTimer, INT32_MIN)).IntervalMinutes, 60u);
}

TEST(SettingsRules, AnyNonZeroBooleanIsTrue) {
    EXPECT_TRUE(SettingsFromRaw(With(kKeyMsgBox, 2)).ShowNotice);
    EXPECT_TRUE(SettingsFromRaw(With(kKeyMsgBox, -1)).ShowNotice);
    EXPECT_FALSE(SettingsFromRaw(With(kKeyMsgBox, 0)).ShowNotice);
    EXPECT_FALSE(SettingsFromRaw(With(kKeyManOnce, 0)).ManualOnce);
    EXPECT_TRUE(SettingsFromRaw(With(kKeyUseHK, 7)).UseHotKey);
}

TEST(SettingsRules, CounterIsKeptAsItIs) {
    EXPECT_EQ(SettingsFromRaw(With(kKeyCounter, 0)).PassCount, 0);
    EXPECT_EQ(SettingsFromRaw(With(kKeyCounter, -5)).PassCount, -5);
    EXPECT_EQ(SettingsFromRaw(With(kKeyCounter, 99)).PassCount, 99);
}

TEST(SettingsRules, NegativeHotKeyShiftsFallBackToAlt) {
    EXPECT_EQ(SettingsFromRaw(With(kKeyHKShifts, -1)).HotKeyShifts, 1u);
    EXPECT_EQ(SettingsFromRaw(With(kKeyHKShifts, INT32_MIN)).HotKeyShifts, 1u);
    EXPECT_EQ(SettingsFromRaw(With(kKeyHKShifts, 0)).HotKeyShifts, 0u);
    EXPECT_EQ(SettingsFromRaw(With(kKeyHKShifts, 6)).HotKeyShifts, 6u);
}

TEST(SettingsRules, HotKeyCharOutsideAByteFallsBackToA) {
    EXPECT_EQ(SettingsFromRaw(With(kKeyHKChar, 256)).HotKeyChar, 65);
    EXPECT_EQ(SettingsFromRaw(With(kKeyHKChar, -1)).HotKeyChar, 65);
    EXPECT_EQ(SettingsFromRaw(With(kKeyHKChar, 0x10042)).HotKeyChar, 65);  // not cut down to 0x42
    EXPECT_EQ(SettingsFromRaw(With(kKeyHKChar, 0x142)).HotKeyChar, 65);
    EXPECT_EQ(SettingsFromRaw(With(kKeyHKChar, 255)).HotKeyChar, 255);
    EXPECT_EQ(SettingsFromRaw(With(kKeyHKChar, 0)).HotKeyChar, 0);
    EXPECT_EQ(SettingsFromRaw(With(kKeyHKChar, 0x70)).HotKeyChar, 0x70);
}

TEST(SettingsRules, OneBadValueLeavesTheOtherKeysAlone) {
    RawSettings raw{1441, 0, 10, 0, 1, -3, 300};
    const SettingsValues values = SettingsFromRaw(raw);
    EXPECT_EQ(values.IntervalMinutes, 1440u);
    EXPECT_FALSE(values.ShowNotice);
    EXPECT_EQ(values.PassCount, 10);
    EXPECT_FALSE(values.ManualOnce);
    EXPECT_TRUE(values.UseHotKey);
    EXPECT_EQ(values.HotKeyShifts, 1u);
    EXPECT_EQ(values.HotKeyChar, 65);
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs ToPairs(const SettingsValues& values) {
    Pairs pairs;
    for (const auto& [key, text] : SettingsToWrite(values)) pairs.emplace_back(key, text);
    return pairs;
}

TEST(SettingsRules, DefaultsAreWrittenInKeyOrder) {
    EXPECT_EQ(ToPairs(SettingsValues{}), (Pairs{{"Timer", "60"},
                                                {"MsgBox", "1"},
                                                {"Counter", "3"},
                                                {"ManOnce", "1"},
                                                {"UseHK", "0"},
                                                {"HKShifts", "1"},
                                                {"HKChar", "65"}}));
}

TEST(SettingsRules, ValuesAreWrittenAsDecimalAndBooleansAsOneOrZero) {
    SettingsValues values;
    values.IntervalMinutes = 1440;
    values.ShowNotice = false;
    values.PassCount = -2;
    values.ManualOnce = false;
    values.UseHotKey = true;
    values.HotKeyShifts = 6;
    values.HotKeyChar = 255;
    EXPECT_EQ(ToPairs(values), (Pairs{{"Timer", "1440"},
                                      {"MsgBox", "0"},
                                      {"Counter", "-2"},
                                      {"ManOnce", "0"},
                                      {"UseHK", "1"},
                                      {"HKShifts", "6"},
                                      {"HKChar", "255"}}));
}

TEST(SettingsRules, WrittenValuesLoadBackUnchanged) {
    SettingsValues values;
    values.IntervalMinutes = 0;
    values.ShowNotice = false;
    values.PassCount = 10;
    values.ManualOnce = false;
    values.UseHotKey = true;
    values.HotKeyShifts = 7;
    values.HotKeyChar = 0x7B;
    RawSettings raw{};
    const auto written = SettingsToWrite(values);
    for (std::size_t i = 0; i < kSettingsKeyCount; ++i) raw[i] = std::stoi(written[i].second);
    EXPECT_EQ(SettingsFromRaw(raw), values);
}

TEST(SettingsRules, RecordCopiesCarryEveryField) {
    SettingsValues values;
    values.IntervalMinutes = 5;
    values.ShowNotice = false;
    values.PassCount = 9;
    values.ManualOnce = false;
    values.UseHotKey = true;
    values.HotKeyShifts = 3;
    values.HotKeyChar = 0x51;

    AppSettingsRecord record;
    CopyToRecord(values, record);
    EXPECT_EQ(record.IntervalMinutes, 5u);
    EXPECT_FALSE(record.ShowNotice);
    EXPECT_EQ(record.PassCount, 9);
    EXPECT_FALSE(record.ManualOnce);
    EXPECT_TRUE(record.UseHotKey);
    EXPECT_EQ(record.HotKeyShifts, 3u);
    EXPECT_EQ(record.HotKeyChar, 0x51);
    EXPECT_EQ(CopyFromRecord(record), values);
    EXPECT_EQ(CopyFromRecord(AppSettingsRecord{}), SettingsValues{});
}

TEST(SettingsRules, SettingsFileSitsInTheDocumentsFolderNamedAfterTheProgram) {
    EXPECT_EQ(SettingsPathFor("C:\\Users\\taro\\Documents", "C:\\Program Files\\Kestrin\\Kestrin.exe"),
              "C:\\Users\\taro\\Documents\\Kestrin.ini");
    EXPECT_EQ(SettingsPathFor("C:\\Users\\taro\\Documents\\", "C:\\Kestrin\\Kestrin.exe"),
              "C:\\Users\\taro\\Documents\\Kestrin.ini");
    EXPECT_EQ(SettingsPathFor("C:\\Docs", "C:\\v1.56\\kestrin"), "C:\\Docs\\kestrin.ini");
}

TEST(SettingsRules, WithoutDocumentsFolderTheFileGoesToTheDriveRoot) {
    EXPECT_EQ(SettingsPathFor("", "C:\\Kestrin\\Kestrin.exe"), "\\Kestrin.ini");
}

TEST(SettingsRules, SettingsPathKeepsBackslashTrailBytesInFolderAndFileNames) {
    EXPECT_EQ(SettingsPathFor("C:\\Users\\表示\\マイ ドキュメント", "D:\\ソフト\\表ソ.exe"),
              "C:\\Users\\表示\\マイ ドキュメント\\表ソ.ini");
    EXPECT_EQ(SettingsPathFor("C:\\ソ", "D:\\ソフト\\Kestrin.exe"), "C:\\ソ\\Kestrin.ini");
}

}  // namespace
}  // namespace kestrin
