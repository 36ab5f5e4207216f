// Libraries come from the system folder only: a library planted beside the
// program under the help viewer's name is never loaded.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "support/kestrin_env.h"
#include "support/kestrin_process.h"
#include "support/wine_paths.h"

using namespace kestrin::test;

TEST(SecurityE2E, AHelpViewerPlantedBesideTheProgramIsNeverLoaded) {
    // A copy of the program in a folder of its own, with the planted library.
    const std::string folder = UnixToWindowsPath(KESTRIN_BUILD_DIR "/planted");
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string exe = folder + "\\Kestrin.exe";
    const std::string marker = folder + "\\planted_dll_loaded.txt";
    ASSERT_TRUE(CopyFileA(KestrinExePath().c_str(), exe.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(UnixToWindowsPath(KESTRIN_BUILD_DIR "/hhctrl.ocx").c_str(),
                          (folder + "\\hhctrl.ocx").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(UnixToWindowsPath(KESTRIN_BUILD_DIR "/Kestrin.chm").c_str(),
                          (folder + "\\Kestrin.chm").c_str(), FALSE));
    DeleteFileA(marker.c_str());
    RemoveIni();
    // Wine prefers its own libraries to files of the same name; told to
    // prefer files for this program, it behaves as Windows does with a
    // planted library.
    const char* key = "Software\\Wine\\AppDefaults\\Kestrin.exe\\DllOverrides";
    HKEY overrides = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_WRITE, nullptr, &overrides, nullptr),
              ERROR_SUCCESS);
    const char nativeFirst[] = "native,builtin";
    RegSetValueExA(overrides, "hhctrl.ocx", 0, REG_SZ, reinterpret_cast<const BYTE*>(nativeFirst), sizeof nativeFirst);
    RegCloseKey(overrides);
    {
        KestrinProcess k("", exe);
        ASSERT_TRUE(k.WaitForLines("resident", 1, 20000));
        // F1 on the controller asks for the help's table of contents.
        PostMessageA(WaitForController(k), WM_KEYDOWN, VK_F1, 1);
        EXPECT_TRUE(k.WaitForLines("help viewer asked", 1, 20000)) << "the system's viewer was not found";
        EXPECT_EQ(k.CountLines("help viewer missing"), 0u);
        EXPECT_FALSE(FileExists(marker)) << "the planted library was loaded";
        PostMessageA(WaitForController(k), WM_CLOSE, 0, 0);
        EXPECT_TRUE(k.WaitForExit(15000));
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, key);
    RemoveIni();
}
