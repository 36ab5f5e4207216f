// The real Kestrin.exe, started and driven from outside as a user and the
// shell would: single instance, one-shot mode, settings file, tray messages,
// hot key.
#include <windows.h>
#include <shellapi.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "support/child_process.h"
#include "support/input.h"
#include "support/kestrin_env.h"
#include "support/kestrin_process.h"
#include "support/relay_trace.h"
#include "support/tray_support.h"
#include "support/wine_paths.h"
#include "support/windows_find.h"

using namespace kestrin::test;

namespace {

constexpr DWORD kStartMs = 20000;

class KestrinE2E : public ::testing::Test {
protected:
    void SetUp() override { RemoveIni(); }
    void TearDown() override { RemoveIni(); }

    // Starts a resident Kestrin and waits for the end of its start-up.
    std::unique_ptr<KestrinProcess> StartResident(const std::string& args = "") {
        auto k = std::make_unique<KestrinProcess>(args);
        EXPECT_TRUE(k->Started());
        EXPECT_TRUE(k->WaitForLines("resident", 1, kStartMs)) << "no end of start-up";
        return k;
    }

    // Closes it the way any close of the controller does.
    static void CloseController(KestrinProcess& k) {
        HWND controller = WaitForController(k);
        ASSERT_NE(controller, nullptr);
        PostMessageA(controller, WM_CLOSE, 0, 0);
        ASSERT_TRUE(k.WaitForExit(15000));
    }
};

std::vector<std::pair<std::string, std::string>> Defaults() {
    return {{"Timer", "60"}, {"MsgBox", "1"}, {"Counter", "3"}, {"ManOnce", "1"},
            {"UseHK", "0"},  {"HKShifts", "1"}, {"HKChar", "65"}};
}

}  // namespace

// --- single instance ---------------------------------------------------

TEST_F(KestrinE2E, SecondStartWarnsAndEndsWhileTheFirstRunsOn) {
    auto first = StartResident();
    KestrinProcess second;
    HWND box = WaitForMessageBox(second, "警告", 10000);
    ASSERT_NE(box, nullptr) << "no warning box from the second instance";
    bool found = false;
    for (const auto& text : MessageBoxTexts(box)) found |= text == "Kestrinは起動中です。";
    EXPECT_TRUE(found) << "warning text missing";
    DismissMessageBox(box);
    ASSERT_TRUE(second.WaitForExit(10000));
    EXPECT_EQ(second.CountLines("resident"), 0u);
    EXPECT_TRUE(first->Running());
    EXPECT_NE(WaitForController(*first, 1000), nullptr);
}

// Both Startup shortcuts at logon start copies at the same moment: exactly
// one stays, whichever it is; the others end, with the warning once they
// can find its window.
TEST_F(KestrinE2E, CopiesStartedAtTheSameMomentLeaveExactlyOneResident) {
    for (int round = 1; round <= 5; ++round) {
        std::vector<std::unique_ptr<KestrinProcess>> copies;
        for (int i = 0; i < 4; ++i) copies.push_back(std::make_unique<KestrinProcess>());
        const auto settled = [&] {
            bool all = true;
            for (const auto& k : copies) {
                if (HWND box = FindTopLevelWindow("#32770", "警告", k->ProcessId(), true)) DismissMessageBox(box);
                all &= !k->Running() || k->CountLines("resident") > 0;
            }
            return all;
        };
        ASSERT_TRUE(WaitFor(settled, 3 * kStartMs)) << "round " << round << ": a copy neither ended nor started";
        std::vector<KestrinProcess*> resident;
        for (const auto& k : copies)
            if (k->Running()) resident.push_back(k.get());
        EXPECT_EQ(resident.size(), 1u) << "round " << round;
        for (KestrinProcess* k : resident) CloseController(*k);
    }
}

// --- one-shot mode -----------------------------------------------------

TEST_F(KestrinE2E, SlashNRunsOnePassAndExitsWithoutIconOrSaving) {
    KestrinProcess k("/n");
    ASSERT_TRUE(k.WaitForExit(30000));
    EXPECT_EQ(k.CountLines("pass start"), 1u);
    EXPECT_EQ(k.CountLines("pass end"), 1u);
    EXPECT_EQ(k.CountLines("one-shot mode"), 1u);
    EXPECT_EQ(k.CountLines("resident"), 0u);
    EXPECT_FALSE(FileExists(IniPath())) << "the one-shot mode must not write the settings";
}

// The one-shot mode shows no icon or text, so it makes neither (nor the
// tray's window),
// and it looks at the settings file once; seen through the calls each
// start makes. A resident start makes every one (so the trace does see them).
TEST_F(KestrinE2E, SlashNMakesNothingItNeverShows) {
    struct Made {
        const char* function;
        const char* what;
        size_t byOneShot;
    };
    constexpr Made kMade[] = {
        {"gdi32.CreateFontIndirectA", "the UI font", 0},
        {"user32.CreateWindowExA", "a window but the application's and the controller's", 2},
        {"shell32.Shell_NotifyIconA", "the tray icon", 0},
        {"KERNEL32.CreateFileA", "a look at the settings file", 1},
    };
    std::string functions;
    for (const Made& made : kMade) functions += std::string(made.function) + ";";
    RelayTrace trace(functions);
    ASSERT_TRUE(trace.Readable()) << "no trace to read: run the test through build/win/wine-run";
    WriteIni({"Counter=0", "ManOnce=0"});
    KestrinProcess oneShot("/n");
    ASSERT_TRUE(oneShot.WaitForExit(30000));
    auto resident = StartResident();
    CloseController(*resident);

    auto count = [](const std::vector<RelayCall>& calls, const char* function) {
        return std::count_if(calls.begin(), calls.end(), [&](const RelayCall& c) { return c.function == function; });
    };
    const std::vector<RelayCall> byOneShot = trace.Calls(oneShot.ProcessId());
    const std::vector<RelayCall> byResident = trace.Calls(resident->ProcessId());
    for (const Made& made : kMade) {
        EXPECT_EQ(count(byOneShot, made.function), static_cast<ptrdiff_t>(made.byOneShot)) << made.what << " in /n";
        EXPECT_GE(count(byResident, made.function), 1) << made.what << ": not seen in a resident start either";
    }
}

TEST_F(KestrinE2E, UpperCaseDashNRunsTheConfiguredBatch) {
    WriteIni({"ManOnce=0", "Counter=3", "Timer=0", "MsgBox=0"});
    const std::string before = ReadFileBytes(IniPath());
    KestrinProcess k("-N");
    ASSERT_TRUE(k.WaitForExit(30000));
    EXPECT_EQ(k.CountLines("pass end"), 3u);
    EXPECT_EQ(k.CountLines("resident"), 0u);
    EXPECT_EQ(ReadFileBytes(IniPath()), before) << "the one-shot mode must not write the settings";
}

TEST_F(KestrinE2E, SlashNWithASecondArgumentStartsResident) {
    auto k = StartResident("/n x");
    EXPECT_EQ(k->CountLines("pass start"), 0u);
    CloseController(*k);
}

// --- settings file -----------------------------------------------------

TEST_F(KestrinE2E, MissingIniGivesDefaultsAndCloseWritesAllSevenKeysInOrder) {
    auto k = StartResident();
    EXPECT_FALSE(FileExists(IniPath())) << "nothing is written before the first write";
    CloseController(*k);
    EXPECT_EQ(IniEntries(), Defaults());
}

TEST_F(KestrinE2E, CloseOverwritesHandEditsAndAppliesLoadRules) {
    WriteIni({"Timer=5000", "MsgBox=2", "Counter=0x05", "HKChar=$42"});
    auto k = StartResident();
    // A hand edit made during the run is overwritten by the values in memory.
    WriteIni({"Timer=7", "MsgBox=0", "Counter=9"});
    CloseController(*k);
    auto expected = Defaults();
    expected[0].second = "1440";
    expected[2].second = "5";
    expected[6].second = "66";
    EXPECT_EQ(IniEntries(), expected);
}

TEST_F(KestrinE2E, HexadecimalTimerLoadsAsSixty) {
    WriteIni({"Timer=0x3C"});
    auto k = StartResident();
    CloseController(*k);
    EXPECT_EQ(IniEntries()[0], std::make_pair(std::string("Timer"), std::string("60")));
}

TEST_F(KestrinE2E, QueryEndSessionSavesTheSettings) {
    auto k = StartResident();
    HWND controller = WaitForController(*k);
    ASSERT_NE(controller, nullptr);
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(controller, WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 15000, &answer);
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    EXPECT_EQ(IniEntries(), Defaults());
    // A cancelled logoff: the program goes on and can still close and save.
    SendMessageTimeoutA(controller, WM_ENDSESSION, FALSE, 0, SMTO_BLOCK, 15000, &answer);
    EXPECT_TRUE(k->WaitForLines("resumed after cancelled end of session", 1, 5000));
    RemoveIni();
    CloseController(*k);
    EXPECT_EQ(IniEntries(), Defaults());
}

// --- tray ----------------------------------------------------------------

TEST_F(KestrinE2E, LeftPressOnTheTrayIconRunsThePassesAndShowsTheNotice) {
    WriteIni({"ManOnce=0", "Counter=2"});
    auto k = StartResident();
    HWND callback = CallbackWindow(WaitForController(*k));
    ASSERT_NE(callback, nullptr) << "no TCallbackWindow under the controller";
    PostTrayMessage(callback, WM_LBUTTONDOWN);
    EXPECT_TRUE(k->WaitForLines("pass end", 2, 20000));
    EXPECT_TRUE(k->WaitForLines("notice shown", 1, 5000));
    CloseController(*k);
    EXPECT_EQ(k->CountLines("pass start on main thread"), 2u);
}

TEST_F(KestrinE2E, MessagesForAnotherIconIdAreIgnored) {
    auto k = StartResident();
    HWND callback = CallbackWindow(WaitForController(*k));
    ASSERT_NE(callback, nullptr);
    PostTrayMessage(callback, WM_LBUTTONDOWN, 7);
    HWND menu = OpenTrayMenu(*k, callback);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(k->CountLines("pass start"), 0u);
    EXPECT_TRUE(CloseMenu(menu));
    CloseController(*k);
}

TEST_F(KestrinE2E, RightPressOpensTheMenuAndRunsNoPass) {
    auto k = StartResident();
    HWND callback = CallbackWindow(WaitForController(*k));
    ASSERT_NE(callback, nullptr);
    PostTrayMessage(callback, WM_RBUTTONDOWN);
    HWND menu = WaitForTrackingMenu(k->ProcessId());
    ASSERT_NE(menu, nullptr) << "the tray menu did not open";
    // Typed keys go to the foreground thread: the program makes its window
    // the foreground one for its menu.
    ASSERT_TRUE(WaitFor([&] { return HasKeyboard(menu); })) << "the menu does not have the keyboard";
    // Up from nothing selected wraps to the last item, "閉じる". The keys
    // need no pause between them: the menu takes them in order.
    SendKey(VK_UP);
    SendKey(VK_RETURN);
    EXPECT_TRUE(k->WaitForExit(15000)) << "閉じる did not close the program";
    EXPECT_EQ(k->CountLines("pass start"), 0u);
    EXPECT_EQ(IniEntries(), Defaults());
}

TEST_F(KestrinE2E, RealClickOnTheTrayIconRunsAPass) {
    auto k = StartResident();
    HWND callback = CallbackWindow(WaitForController(*k));
    ASSERT_NE(callback, nullptr);
    const POINT icon = LocateTrayIcon(callback, 1);
    ASSERT_GE(icon.x, 0) << "the icon is nowhere on the taskbar";
    ClickAt(icon.x, icon.y);
    EXPECT_TRUE(k->WaitForLines("pass end", 1, 20000)) << "the click did not start a pass";
    CloseController(*k);
}

// The menu as a user meets it after the settings dialog: opened by a real
// right click and driven by real keys, which come through X, where Wine
// gives them to the thread of the window under the pointer (the taskbar's;
// SendInput's go to the foreground window's).
TEST_F(KestrinE2E, AfterADialogTheTrayMenuOpensAboveTheTaskbarAndTakesTheKeyboard) {
    auto k = StartResident();
    HWND callback = CallbackWindow(WaitForController(*k));
    const MenuDialog& settings = TrayMenuDialogs().front();
    HWND dialog = OpenFromTrayMenu(k->ProcessId(), callback, settings);
    ASSERT_TRUE(dialog && CloseWithCloseBox(k->ProcessId(), dialog, settings)) << "no settings dialog";
    const POINT icon = LocateTrayIcon(callback, 1);
    ASSERT_GE(icon.x, 0) << "the icon is nowhere on the taskbar";
    auto xdotool = [](const std::string& input) { ChildProcess("/usr/bin/xdotool " + input).WaitForExit(kGenerousMs); };
    xdotool("mousemove " + std::to_string(icon.x) + " " + std::to_string(icon.y) + " click 3");
    HWND menu = WaitForTrackingMenu(k->ProcessId());
    ASSERT_NE(menu, nullptr) << "the tray menu did not open";
    RECT shown{}, taskbar{};
    GetWindowRect(menu, &shown);
    GetWindowRect(FindWindowA("Shell_TrayWnd", nullptr), &taskbar);
    EXPECT_EQ(shown.bottom, taskbar.top);
    EXPECT_FALSE(PtInRect(&shown, icon)) << "over the icon, a second right click would choose 閉じる";
    xdotool("key Down Escape");
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(menu); })) << "the menu did not take Esc";
    CloseMenu(menu);
    CloseController(*k);
}

// A taskbar at the top (Wine's, moved there): a real right click opens the
// menu below it, off the icon. Wine keeps menus in a work area that leaves
// its taskbar out, so the request is read too: Windows puts it where asked.
TEST_F(KestrinE2E, WithTheTaskbarAtTheTopTheMenuOpensBelowIt) {
    RelayTrace trace("user32.TrackPopupMenu;user32.TrackPopupMenuEx");
    auto k = StartResident();
    HWND callback = CallbackWindow(WaitForController(*k));
    struct AtTheTop {
        HWND bar = FindWindowA("Shell_TrayWnd", nullptr);
        RECT was = DescribeWindow(bar).windowRect;
        void Move(LONG y) { SetWindowPos(bar, nullptr, 0, y, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE); }
        ~AtTheTop() { Move(was.top); }
    } moved;
    moved.Move(0);
    const LONG below = moved.was.bottom - moved.was.top;
    const POINT icon = LocateTrayIcon(callback, 1);
    ClickAt(icon.x, icon.y, true);
    HWND menu = WaitForTrackingMenu(k->ProcessId());
    ASSERT_NE(menu, nullptr) << "the tray menu did not open";
    const RECT shown = DescribeWindow(menu).windowRect;
    EXPECT_TRUE(shown.top == below && !PtInRect(&shown, icon)) << "not below the taskbar, or over the icon";
    CloseMenu(menu);
    CloseController(*k);
    std::vector<RelayCall> asked = trace.Calls(k->ProcessId());
    std::erase_if(asked, [](const RelayCall& call) { return !call.function.starts_with("user32.TrackPopupMenu"); });
    ASSERT_FALSE(asked.empty());  // (menu, flags, x, y, ...): top-aligned under the taskbar
    EXPECT_TRUE((asked.back().arguments.at(1) & TPM_BOTTOMALIGN) == 0 && LONG(asked.back().arguments.at(3)) == below);
}

// The icon stays alive while a dialog of its menu is up: a real right click
// opens the menu, where 設定 brings the one dialog to the front and 閉じる
// ends the program as ever.
TEST_F(KestrinE2E, WhileTheSettingsDialogIsUpARightClickOpensTheMenu) {
    auto k = StartResident();
    HWND callback = CallbackWindow(WaitForController(*k));
    const MenuDialog& settings = TrayMenuDialogs().front();
    HWND dialog = OpenFromTrayMenu(k->ProcessId(), callback, settings);
    ASSERT_NE(dialog, nullptr) << "no settings dialog";
    const POINT icon = LocateTrayIcon(callback, 1);
    // The second click lands aside: on the same spot it is a double click.
    auto choose = [&](int aside, const std::vector<WORD>& keys) {
        ClickAt(icon.x + aside, icon.y, true);
        HWND menu = WaitForTrackingMenu(k->ProcessId());
        ASSERT_TRUE(menu && WaitFor([&] { return HasKeyboard(menu); })) << "the icon is dead while the dialog is up";
        for (WORD key : keys) SendKey(key);
    };
    choose(0, settings.keys);
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == dialog; })) << "the dialog did not come to the front";
    choose(GetSystemMetrics(SM_CXDOUBLECLK), {VK_UP, VK_RETURN});
    EXPECT_TRUE(k->WaitForExit(15000) && k->ExitCode() == 0) << "閉じる did not end the program cleanly";
    EXPECT_EQ(k->CountLines("settings dialog shown"), 1u) << "a second settings dialog";
    EXPECT_EQ(IniEntries(), Defaults());
}

// --- hot key ---------------------------------------------------------------

TEST_F(KestrinE2E, HotKeyRunsOnePassAndAnotherIdentifierIsIgnored) {
    // Ctrl+Alt+K: MOD_ALT | MOD_CONTROL = 3, 'K' = 75; batches of 3 configured.
    WriteIni({"UseHK=1", "HKShifts=3", "HKChar=75", "ManOnce=0", "Counter=3"});
    auto k = StartResident();
    HWND controller = WaitForController(*k);
    HWND callback = CallbackWindow(controller);
    ASSERT_NE(callback, nullptr);
    PostMessageA(controller, WM_HOTKEY, 0x1234, 0);
    HWND menu = OpenTrayMenu(*k, callback);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(k->CountLines("pass start"), 0u) << "a foreign hot-key identifier started a pass";
    ASSERT_TRUE(CloseMenu(menu));

    SendKeyChord({VK_CONTROL, VK_MENU}, 'K');
    EXPECT_TRUE(k->WaitForLines("hot key", 1, 10000));
    EXPECT_TRUE(k->WaitForLines("pass end", 1, 20000));
    menu = OpenTrayMenu(*k, callback);  // after the hot key's handler has returned
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(k->CountLines("pass start"), 1u) << "the hot key runs one pass, whatever the batch size";
    EXPECT_TRUE(CloseMenu(menu));
    CloseController(*k);
}

TEST_F(KestrinE2E, HotKeyTakenByAnotherProgramWarnsAndRunsOn) {
    WriteIni({"UseHK=1", "HKShifts=3", "HKChar=76"});
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_ALT | MOD_CONTROL, 'L'));
    KestrinProcess k;
    HWND box = WaitForMessageBox(k, "警告", kStartMs);
    ASSERT_NE(box, nullptr) << "no warning for the taken hot key";
    auto texts = MessageBoxTexts(box);
    bool found = false;
    for (const auto& t : texts) found |= t == "同じホットキーの登録があります\r\nホットキーの登録に失敗しました。";
    EXPECT_TRUE(found);
    DismissMessageBox(box);
    EXPECT_TRUE(k.WaitForLines("resident", 1, kStartMs));
    UnregisterHotKey(nullptr, 1);
    CloseController(k);
}

// --- Explorer restart ----------------------------------------------------------

namespace {
bool TrayHasIcon(HWND callbackWindow, UINT id) {
    NOTIFYICONDATAA probe{};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = callbackWindow;
    probe.uID = id;
    probe.uFlags = 0;  // changes nothing; succeeds only for an icon that is there
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}
}  // namespace

TEST_F(KestrinE2E, IconComesBackAfterTheTaskbarIsCreatedAgain) {
    auto k = StartResident();
    HWND callback = CallbackWindow(WaitForController(*k));
    ASSERT_NE(callback, nullptr);
    ASSERT_TRUE(TrayHasIcon(callback, 1));
    // What a restarted Explorer looks like to the program: its icon is gone,
    // then the new taskbar announces itself to every top-level window.
    NOTIFYICONDATAA gone{};
    gone.cbSize = NOTIFYICONDATAA_V1_SIZE;
    gone.hWnd = callback;
    gone.uID = 1;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &gone));
    ASSERT_FALSE(TrayHasIcon(callback, 1));
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 5000,
                        &ignored);
    EXPECT_TRUE(WaitFor([&] { return TrayHasIcon(callback, 1); }, 5000)) << "the icon did not come back";
    // And it still works: a left press runs a pass.
    PostTrayMessage(callback, WM_LBUTTONDOWN);
    EXPECT_TRUE(k->WaitForLines("pass end", 1, 20000));
    CloseController(*k);
}
