// The controller in this process: its tray menu, components and close, read
// back from the real menu, window and files (menus of another process cannot
// be read under Wine, so these run in-process).
#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <thread>

#include "app/controller.h"
#include "settings/portable/shared_state.h"
#include "support/app_fixture.h"
#include "support/wait.h"
#include "support/tray_support.h"
#include "support/windows_find.h"
#include "support/wine_paths.h"

using namespace kestrin;
using namespace kestrin::test;

namespace {

std::string TestIniPath() { return DocumentsFolder() + "\\kestrin_win_tests.ini"; }

std::string MenuText(HMENU menu, UINT position) {
    char text[256] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

// The tray menu as the user opens it (the shell's right press on the icon,
// the controller's only one), read while it is open, then closed with Esc.
std::vector<std::string> OpenTrayMenu(const TMemCMain& main) {
    std::vector<std::string> items;
    std::thread reader([&] {
        const HWND window = WaitForTrackingMenu(GetCurrentProcessId());
        const auto menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(menu); ++i)
            items.push_back(GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR ? "-" : MenuText(menu, i));
        PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    PostTrayNotification(FindCallbackWindow(main.Handle()), 1, WM_RBUTTONDOWN);
    reader.join();
    return items;
}

// A creation hook that refuses every window of one class.
const char* refusedClass = "";
LRESULT CALLBACK RefuseWindowClass(int code, WPARAM wParam, LPARAM lParam) {
    char name[32] = {};
    if (code == HCBT_CREATEWND) GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
    return strcmp(name, refusedClass) == 0 ? 1 : CallNextHookEx(nullptr, code, wParam, lParam);
}

class MainFormTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        DeleteFileA(TestIniPath().c_str());
        RemoveDirectoryA(TestIniPath().c_str());
    }
    void TearDown() override {
        if (form_ && form_->Handle()) form_->Destroy();
        form_.reset();
        DeleteFileA(TestIniPath().c_str());
        RemoveDirectoryA(TestIniPath().c_str());
        AppTest::TearDown();
    }

    TMemCMain& Start(const std::string& ini) {
        WriteFileBytes(TestIniPath(), "[Settings]\r\n" + ini);
        form_ = std::make_unique<TMemCMain>(state_, std::vector<std::string>{});
        form_->Create();
        return *form_;
    }

    SharedState state_;
    std::unique_ptr<TMemCMain> form_;
};

}  // namespace

TEST_F(MainFormTest, TrayMenuHasTheSevenItemsInOrder) {
    const TMemCMain& main = Start("Timer=0\r\n");
    EXPECT_EQ(OpenTrayMenu(main), (std::vector<std::string>{"ショートカット作成", "設定", "-", "ヘルプ",
                                                             "ﾊﾞｰｼﾞｮﾝ情報(&A)...", "-", "閉じる"}));
}

TEST_F(MainFormTest, StartUpShowsTheTrayIcon) {
    ShellRecorder shell(ShellRecorder::Forward);
    TMemCMain& main = Start("Timer=0\r\n");
    const auto adds = shell.Calls(NIM_ADD);
    ASSERT_EQ(adds.size(), 1u);
    EXPECT_TRUE(adds[0].result) << "the icon is in the tray";
    EXPECT_EQ(adds[0].window, FindCallbackWindow(main.Handle()));
    EXPECT_EQ(adds[0].tip, "Kestrin");
    EXPECT_FALSE(main.HasIntervalThread()) << "Timer=0 starts no interval thread";
    EXPECT_EQ(main.HotKeyAtom(), 0u) << "UseHK defaults to off";
}

TEST_F(MainFormTest, NonZeroIntervalStartsTheThreadAndCloseStopsIt) {
    TMemCMain& main = Start("Timer=5\r\n");
    EXPECT_TRUE(main.HasIntervalThread());
    main.QuitClick();
    EXPECT_EQ(main.Handle(), nullptr) << "the close went ahead";
    EXPECT_FALSE(main.HasIntervalThread());
    EXPECT_TRUE(state_.StopRequested);
    const std::string saved = ReadFileBytes(TestIniPath());
    EXPECT_NE(saved.find("Timer=5"), std::string::npos);
    EXPECT_NE(saved.find("HKChar=65"), std::string::npos);
}

TEST_F(MainFormTest, RefusedWriteAtCloseIsReportedAndTheCloseStillEnds) {
    TMemCMain& main = Start("Timer=5\r\n");
    // The settings path becomes a folder: the system refuses every write.
    ASSERT_TRUE(DeleteFileA(TestIniPath().c_str()));
    ASSERT_TRUE(CreateDirectoryA(TestIniPath().c_str(), nullptr));
    main.QuitClick();
    EXPECT_EQ(main.Handle(), nullptr) << "the close must not hang or stop half-way";
    EXPECT_FALSE(main.HasIntervalThread()) << "no stopped thread may stay referenced";
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0].text, TestIniPath() + " に書き込めません");
}

TEST_F(MainFormTest, HotKeyIsRegisteredUnderTheAtomAndRemovedAtDestruction) {
    TMemCMain& main = Start("Timer=0\r\nUseHK=1\r\nHKShifts=6\r\nHKChar=118\r\n");  // Ctrl+Shift+F7
    ASSERT_NE(main.HotKeyAtom(), 0u);
    char name[64] = {};
    GlobalGetAtomNameA(static_cast<ATOM>(main.HotKeyAtom()), name, sizeof name);
    EXPECT_STREQ(name, "KestrinHK");
    // Taken by us: a second registration of the same keys fails.
    EXPECT_FALSE(RegisterHotKey(nullptr, 77, MOD_CONTROL | MOD_SHIFT, VK_F7));
    main.Destroy();
    EXPECT_TRUE(RegisterHotKey(nullptr, 77, MOD_CONTROL | MOD_SHIFT, VK_F7)) << "the hot key stayed registered";
    UnregisterHotKey(nullptr, 77);
}

TEST_F(MainFormTest, RefusedTrayIconAtStartUpIsReportedAndTheStartUpFinishes) {
    ShellRecorder shell;
    shell.Fail(NIM_ADD);
    shell.Fail(NIM_MODIFY);
    TMemCMain& main = Start("Timer=5\r\n");  // a throw out of Create fails the test
    EXPECT_TRUE(main.HasIntervalThread());
    EXPECT_GE(shell.Count(NIM_ADD), 2u) << "the shell gets more than one try";
    // The message comes from the loop, once the splash has gone.
    ASSERT_TRUE(WaitFor([&] { return !errors_.empty(); }));
    EXPECT_EQ(FindWindowA("TSS", nullptr), nullptr);
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0].text, "タスクトレイにアイコンを登録できません。");
    // The shell is ready later: its broadcast brings the icon.
    shell.FailNone();
    SendMessageA(main.Handle(), TTrayIcon::TaskbarCreatedMessage(), 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !shell.Calls(NIM_ADD).empty() && shell.Calls(NIM_ADD).back().result; }))
        << "still wanted in the tray: added again from the loop";
}

TEST_F(MainFormTest, AnEndWithoutCloseStopsTheIntervalThreadBeforeTheIconGoes) {
    ShellRecorder shell(ShellRecorder::Forward);
    TMemCMain& main = Start("Timer=1\r\nCounter=1\r\n");
    ASSERT_TRUE(main.HasIntervalThread());
    // Due at the thread's next second: an automatic pass, then its animation,
    // whose frames the worker sends.
    state_.SecondsElapsed = 100000;
    const auto framed = [&] {
        for (const ShellCall& call : shell.Calls(NIM_MODIFY))
            if (call.threadId != GetCurrentThreadId()) return true;
        return false;
    };
    ASSERT_TRUE(WaitFor(framed, 20000));
    // A failed pass ends the loop without the close: only the destruction runs.
    main.Destroy();
    EXPECT_FALSE(main.HasIntervalThread()) << "the thread must not outlive the icon it animates";
}

TEST_F(MainFormTest, AHotKeyWithoutAKeyRegistersNothing) {
    // What the settings dialog writes for a ticked box with an empty entry.
    TMemCMain& main = Start("Timer=0\r\nUseHK=1\r\nHKShifts=0\r\nHKChar=0\r\n");
    EXPECT_EQ(main.HotKeyAtom(), 0u);
    EXPECT_TRUE(state_.AppSettings.UseHotKey) << "the setting itself stays as the user left it";
}

// The program's entry when a window of the start-up cannot be made: the
// error is shown, and the program ends with nothing left behind.
TEST_F(MainFormTest, AWindowRefusedAtStartUpIsShownAndTheProgramEndsCleanly) {
    WriteFileBytes(TestIniPath(), "[Settings]\r\nTimer=0\r\nUseHK=1\r\nHKShifts=6\r\nHKChar=118\r\n");
    for (const char* name : {"TMemCMain", "TSS"}) {  // the controller's own window; the splash, after the hot key
        SCOPED_TRACE(name);
        refusedClass = name;
        errors_.clear();
        HHOOK hook = SetWindowsHookExA(WH_CBT, RefuseWindowClass, nullptr, GetCurrentThreadId());
        EXPECT_EQ(WinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWNORMAL), 1);
        UnhookWindowsHookEx(hook);
        ASSERT_EQ(errors_.size(), 1u);
        EXPECT_EQ(errors_[0].text, std::string("ウィンドウ ") + name + " を作成できません。");
        EXPECT_EQ(OpenMutexA(SYNCHRONIZE, FALSE, "hKestrinInst"), nullptr) << "the instance guard is released";
        EXPECT_EQ(FindWindowA("TMemCMain", nullptr), nullptr);
        EXPECT_TRUE(RegisterHotKey(nullptr, 77, MOD_CONTROL | MOD_SHIFT, VK_F7)) << "the hot key stayed registered";
        UnregisterHotKey(nullptr, 77);
    }
}
