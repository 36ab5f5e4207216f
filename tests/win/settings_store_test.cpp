// The settings store against a real file: a dialog writes one key at a time.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "settings/settings_store.h"
#include "support/wine_paths.h"

namespace kestrin {
namespace {

TEST(SettingsStore, WriteKeyWritesThatOneKeyAlone) {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    std::string path;
    {
        SettingsStore store;
        store.Open(temp);
        path = std::string(temp) + "kestrin_win_tests.ini";
        DeleteFileA(path.c_str());
        AppSettingsRecord settings;
        settings.PassCount = 7;
        store.WriteKey(kKeyCounter, settings);
    }  // closing the file object flushes the profile cache
    const std::string text = test::ReadFileBytes(path);
    DeleteFileA(path.c_str());
    EXPECT_EQ(text, "[Settings]\r\nCounter=7\r\n");
}

}  // namespace
}  // namespace kestrin
