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
#include "win32/clipboard.h"

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

// The dialog, opened from the tray menu (Up from no selection: 閉じる,
// ﾊﾞｰｼﾞｮﾝ情報, ヘルプ, 設定; separators are passed), once it has the keyboard.
HWND OpenSettings(const KestrinProcess& k) {
    HWND menu = OpenTrayMenu(k, CallbackWindow(WaitForController(k)));
    EXPECT_TRUE(menu && WaitFor([&] { return HasKeyboard(menu); })) << "no tray menu";
    for (int i = 0; i < 4; ++i) SendKey(VK_UP);
    SendKey(VK_RETURN);
    HWND dialog = WaitForShownWindow("TPropForm", "プロパティ", 10000, k.ProcessId());
    EXPECT_TRUE(dialog && WaitFor([&] { return GetForegroundWindow() == dialog; })) << "no settings dialog";
    return dialog;
}

void CloseProgram(KestrinProcess& k) {
    PostMessageA(WaitForController(k), WM_CLOSE, 0, 0);
    EXPECT_TRUE(k.WaitForExit(15000));
    RemoveIni();
}

}  // namespace

TEST(SettingsE2E, TheHotKeyFieldLooksAsEnabledAsItIs) {
    WriteIni({"UseHK=1"});
    KestrinProcess k;
    ASSERT_TRUE(k.WaitForLines("resident", 1, 20000));
    HWND dialog = OpenSettings(k);
    const RECT field = DescribeWindow(FindWindowExA(dialog, nullptr, "msctls_hotkey32", nullptr)).clientRect;
    Capture enabled;  // once its black text is drawn
    ASSERT_TRUE(WaitFor([&] { return PixelsUnlike(enabled = CaptureScreen(field), 0) < enabled.pixels.size(); }));
    // Down to "ホットキーを使う": Space unticks it, and ticks it again.
    for (int i = 0; i < 5; ++i) SendKey(VK_DOWN);
    SendKey(VK_SPACE);
    EXPECT_TRUE(WaitFor([&] { return CaptureScreen(field).pixels != enabled.pixels; })) << "it still looks enabled";
    SendKey(VK_SPACE);
    EXPECT_TRUE(WaitFor([&] { return CaptureScreen(field).pixels == enabled.pixels; })) << "it still looks disabled";
    SendKey(VK_F12);
    CloseProgram(k);
}

TEST(SettingsE2E, TypingAfterAPasteGoesAfterThePastedText) {
    RemoveIni();
    KestrinProcess k;
    ASSERT_TRUE(k.WaitForLines("resident", 1, 20000));
    ASSERT_TRUE(kestrin::SetClipboardText(nullptr, "0"));
    HWND dialog = OpenSettings(k);
    HWND minutes = ChildWindowFromPoint(dialog, POINT{225, 45});
    SendKey(VK_DOWN);
    SendKeyChord({VK_CONTROL}, 'V');
    SendKey('5');
    char text[8] = {};  // an edit of another program tells its text only when asked
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(minutes, WM_GETTEXT, sizeof text, LPARAM(text)) == 2; }));
    EXPECT_STREQ(text, "05");
    SendKey(VK_F12);
    CloseProgram(k);
}

TEST(SettingsE2E, OpenedFromTheMenuItShowsItsControlsAndOkDropsTheUnwantedHotKey) {
    // Ctrl+Shift+F7 held by Kestrin; no interval.
    WriteIni({"Timer=90", "UseHK=1", "HKShifts=6", "HKChar=118"});
    KestrinProcess k;
    ASSERT_TRUE(k.WaitForLines("resident", 1, 20000));
    ASSERT_FALSE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_SHIFT, VK_F7)) << "Kestrin should hold the hot key";

    HWND dialog = OpenSettings(k);
    ASSERT_NE(dialog, nullptr);
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
    CloseProgram(k);
}
