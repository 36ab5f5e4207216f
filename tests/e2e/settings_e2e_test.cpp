// The settings dialog of the real Kestrin.exe, opened from the tray menu and
// driven by real keys: its window and controls as the user sees them, and
// what OK does to the ini file and the hot key.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/input.h"
#include "support/wait.h"
#include "support/kestrin_env.h"
#include "support/kestrin_process.h"
#include "support/screenshot.h"
#include "support/windows_find.h"

using namespace kestrin::test;

namespace {

struct ChildSeen {
    std::string className;
    RECT rect;  // in the dialog's client coordinates
};

BOOL CALLBACK CollectChild(HWND child, LPARAM context) {
    auto* children = reinterpret_cast<std::vector<ChildSeen>*>(context);
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    children->push_back({ClassOf(child), r});
    return TRUE;
}

bool HasChild(const std::vector<ChildSeen>& children, const char* className, RECT rect) {
    for (const ChildSeen& c : children)
        if (c.className == className && EqualRect(&c.rect, &rect)) return true;
    return false;
}

// Up from no selection: 閉じる, ﾊﾞｰｼﾞｮﾝ情報, ヘルプ, 設定 (separators are passed).
void ChooseSettingsFromTheTrayMenu(const KestrinProcess& k) {
    HWND menu = OpenTrayMenu(k, CallbackWindow(WaitForController(k)));
    ASSERT_NE(menu, nullptr) << "the tray menu did not open";
    ASSERT_TRUE(WaitFor([&] { return HasKeyboard(menu); }));
    for (int i = 0; i < 4; ++i) SendKey(VK_UP);
    SendKey(VK_RETURN);
}

}  // namespace

TEST(SettingsE2E, OpenedFromTheMenuItShowsItsControlsAndOkDropsTheUnwantedHotKey) {
    // Ctrl+Shift+F7 held by Kestrin; no interval.
    WriteIni({"Timer=90", "UseHK=1", "HKShifts=6", "HKChar=118"});
    KestrinProcess k;
    ASSERT_TRUE(k.WaitForLines("resident", 1, 20000));
    ASSERT_FALSE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_SHIFT, VK_F7)) << "Kestrin should hold the hot key";

    ChooseSettingsFromTheTrayMenu(k);
    HWND dialog = WaitForShownWindow("TPropForm", "プロパティ", 10000, k.ProcessId());
    ASSERT_NE(dialog, nullptr) << "no settings dialog";
    const WindowInfo info = DescribeWindow(dialog);
    EXPECT_EQ(info.clientRect.right - info.clientRect.left, 373);
    EXPECT_EQ(info.clientRect.bottom - info.clientRect.top, 254);
    EXPECT_TRUE(info.exStyle & WS_EX_TOPMOST);
    std::vector<ChildSeen> children;
    EnumChildWindows(dialog, &CollectChild, reinterpret_cast<LPARAM>(&children));
    EXPECT_TRUE(HasChild(children, "Edit", {160, 40, 188, 58}));
    EXPECT_TRUE(HasChild(children, "Edit", {221, 40, 249, 58}));
    EXPECT_TRUE(HasChild(children, "Edit", {160, 72, 186, 90}));
    EXPECT_TRUE(HasChild(children, "Button", {53, 107, 320, 124}));
    EXPECT_TRUE(HasChild(children, "msctls_hotkey32", {160, 172, 281, 190}));
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == dialog; }, 5000));
    // Shot once painted: the blue remark at the top and the green tick of OK.
    Capture shot;
    auto painted = [&] {
        shot = CaptureScreen(info.windowRect);
        bool blue = false, green = false;
        for (uint32_t pixel : shot.pixels) {
            blue |= pixel == 0x0000FF;
            green |= pixel == 0x008000;
        }
        return blue && green;
    };
    EXPECT_TRUE(WaitFor(painted, 5000)) << "the dialog was not painted";
    SaveArtifact(shot, "settings_dialog");

    // Down to the hot-key box, untick it, apply.
    for (int i = 0; i < 5; ++i) SendKey(VK_DOWN);
    SendKey(VK_SPACE);
    SendKey(VK_F9);
    ASSERT_TRUE(WaitForWindowGone("TPropForm", 10000, k.ProcessId())) << "OK did not close the dialog";
    const auto entries = IniEntries();
    EXPECT_EQ(entries, (std::vector<std::pair<std::string, std::string>>{{"Timer", "90"},
                                                                           {"UseHK", "0"},
                                                                           {"HKShifts", "6"},
                                                                           {"HKChar", "118"},
                                                                           {"MsgBox", "1"},
                                                                           {"Counter", "3"},
                                                                           {"ManOnce", "1"}}));
    EXPECT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_SHIFT, VK_F7)) << "the hot key is still held";
    UnregisterHotKey(nullptr, 1);

    PostMessageA(WaitForController(k), WM_CLOSE, 0, 0);
    EXPECT_TRUE(k.WaitForExit(15000));
    RemoveIni();
}
