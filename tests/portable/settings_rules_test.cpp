// The ini file's keys, defaults and load rules, what is written back, and
// where the file lives. Every field is read and set here by its own name, not
// through the table, so a key wired to the wrong field shows.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "settings/portable/settings_rules.h"

namespace kestrin {
namespace {

int64_t Stored(const AppSettingsRecord& s, SettingsKeyIndex key) {
    switch (key) {
        case kKeyTimer: return s.IntervalMinutes;
        case kKeyMsgBox: return s.ShowNotice;
        case kKeyCounter: return s.PassCount;
        case kKeyManOnce: return s.ManualOnce;
        case kKeyUseHK: return s.UseHotKey;
        case kKeyHKShifts: return s.HotKeyShifts;
        case kKeyHKChar: return s.HotKeyChar;
        default: ADD_FAILURE() << "no such key " << key; return 0;
    }
}

// A record whose every field differs from its default.
void Scramble(AppSettingsRecord& s) {
    s.IntervalMinutes = 7;
    s.ShowNotice = false;
    s.PassCount = 9;
    s.ManualOnce = false;
    s.UseHotKey = true;
    s.HotKeyShifts = 4;
    s.HotKeyChar = 0x51;
}

TEST(SettingsRules, MissingKeysLoadTheDefaultsOfAFreshRecordInFileOrder) {
    struct Key {
        const char* Name;
        int64_t Stored;
    };
    const Key expected[] = {{"Timer", 60}, {"MsgBox", 1},   {"Counter", 3}, {"ManOnce", 1},
                            {"UseHK", 0},  {"HKShifts", 1}, {"HKChar", 65}};
    AppSettingsRecord loaded;
    Scramble(loaded);
    const AppSettingsRecord fresh;
    for (std::size_t i = 0; i < kSettingsKeyCount; ++i) {
        const auto key = static_cast<SettingsKeyIndex>(i);
        SCOPED_TRACE(expected[i].Name);
        EXPECT_EQ(kSettingsFields[i].Name, expected[i].Name);
        LoadSetting(key, kSettingsFields[i].Default, loaded);
        EXPECT_EQ(Stored(loaded, key), expected[i].Stored);
        EXPECT_EQ(Stored(loaded, key), Stored(fresh, key)) << "file default and record default differ";
    }
    EXPECT_EQ(kSettingsSection, "Settings");
}

// Each row loads one key into a scrambled record: its field gets the value,
// every other field stays as it was.
TEST(SettingsRules, EachKeyAppliesItsLoadRuleToItsOwnFieldOnly) {
    struct Case {
        SettingsKeyIndex Key;
        int32_t FileValue;
        int64_t Stored;
    };
    const Case cases[] = {
        {kKeyTimer, 5000, 1440},  {kKeyTimer, 1441, 1440},     {kKeyTimer, INT32_MAX, 1440},
        {kKeyTimer, 1440, 1440},  {kKeyTimer, 1, 1},           {kKeyTimer, 0, 0},
        {kKeyTimer, -1, 60},      {kKeyTimer, INT32_MIN, 60},  // below zero: the default
        {kKeyMsgBox, 2, 1},       {kKeyMsgBox, -1, 1},         {kKeyMsgBox, 0, 0},
        {kKeyManOnce, 0, 0},      {kKeyManOnce, 256, 1},       {kKeyUseHK, 7, 1},
        {kKeyCounter, 0, 0},      {kKeyCounter, -5, -5},       {kKeyCounter, 99, 99},
        {kKeyHKShifts, -1, 1},    {kKeyHKShifts, INT32_MIN, 1}, {kKeyHKShifts, 0, 0},
        {kKeyHKShifts, 6, 6},     {kKeyHKChar, 256, 65},       {kKeyHKChar, -1, 65},
        {kKeyHKChar, 0x10042, 65}, {kKeyHKChar, 0x142, 65},    // not cut down to a byte
        {kKeyHKChar, 255, 255},   {kKeyHKChar, 0, 0},          {kKeyHKChar, 0x70, 0x70},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << kSettingsFields[c.Key].Name << "=" << c.FileValue);
        AppSettingsRecord before, after;
        Scramble(before);
        Scramble(after);
        LoadSetting(c.Key, c.FileValue, after);
        for (std::size_t i = 0; i < kSettingsKeyCount; ++i) {
            const auto key = static_cast<SettingsKeyIndex>(i);
            EXPECT_EQ(Stored(after, key), key == c.Key ? c.Stored : Stored(before, key)) << kSettingsFields[i].Name;
        }
    }
}

// Two records with every field different; each key writes its own field, as
// decimal integers (unsigned ones never with a sign) and booleans as 1 / 0.
TEST(SettingsRules, EachKeyWritesTheTextOfItsOwnField) {
    AppSettingsRecord first;
    first.IntervalMinutes = 1440;
    first.ShowNotice = false;
    first.PassCount = -2;
    first.ManualOnce = true;
    first.UseHotKey = true;
    first.HotKeyShifts = 0xFFFFFFFF;
    first.HotKeyChar = 255;
    AppSettingsRecord second;
    second.IntervalMinutes = 0;
    second.ShowNotice = true;
    second.PassCount = 10;
    second.ManualOnce = false;
    second.UseHotKey = false;
    second.HotKeyShifts = 6;
    second.HotKeyChar = 0x7B;
    struct Case {
        SettingsKeyIndex Key;
        const char* FirstText;
        const char* SecondText;
    };
    const Case cases[] = {{kKeyTimer, "1440", "0"},   {kKeyMsgBox, "0", "1"},
                          {kKeyCounter, "-2", "10"},  {kKeyManOnce, "1", "0"},
                          {kKeyUseHK, "1", "0"},      {kKeyHKShifts, "4294967295", "6"},
                          {kKeyHKChar, "255", "123"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(kSettingsFields[c.Key].Name);
        EXPECT_EQ(SettingText(c.Key, first), c.FirstText);
        EXPECT_EQ(SettingText(c.Key, second), c.SecondText);
    }
}

TEST(SettingsRules, WrittenValuesLoadBackUnchanged) {
    AppSettingsRecord written;
    Scramble(written);
    written.PassCount = -3;
    AppSettingsRecord loaded;
    for (std::size_t i = 0; i < kSettingsKeyCount; ++i) {
        const auto key = static_cast<SettingsKeyIndex>(i);
        LoadSetting(key, std::stoi(SettingText(key, written)), loaded);
        EXPECT_EQ(Stored(loaded, key), Stored(written, key)) << kSettingsFields[i].Name;
    }
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
