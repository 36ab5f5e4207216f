// The controller in this process: its tray menu, components and close, read
// back from the real menu, window and files (menus of another process cannot
// be read under Wine, so these run in-process).
#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "app/controller.h"
#include "settings/portable/shared_state.h"
#include "win32/portable/path_text.h"
#include "support/app_fixture.h"
#include "support/wait.h"
#include "support/tray_support.h"
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
    TMemCMain& main = Start("Timer=0\r\n");
    HMENU menu = main.PM().Handle();
    ASSERT_EQ(GetMenuItemCount(menu), 7);
    EXPECT_EQ(MenuText(menu, 0), "ショートカット作成");
    EXPECT_EQ(MenuText(menu, 1), "設定");
    EXPECT_TRUE(GetMenuState(menu, 2, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(MenuText(menu, 3), "ヘルプ");
    EXPECT_EQ(MenuText(menu, 4), "ﾊﾞｰｼﾞｮﾝ情報(&A)...");
    EXPECT_TRUE(GetMenuState(menu, 5, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(MenuText(menu, 6), "閉じる");
    // Every item does its job: none is greyed.
    EXPECT_FALSE(GetMenuState(menu, 0, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(menu, 1, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(menu, 3, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(menu, 4, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(menu, 6, MF_BYPOSITION) & MF_GRAYED);
}

TEST_F(MainFormTest, StartUpFillsTheImageListAndShowsTheTrayIcon) {
    TMemCMain& main = Start("Timer=0\r\n");
    ASSERT_NE(main.IL(), nullptr);
    EXPECT_EQ(main.IL()->Count(), 2);
    EXPECT_TRUE(main.TB().Visible());
    EXPECT_TRUE(main.TB().IconAdded());
    EXPECT_EQ(main.TB().TipHelp(), "Kestrin");
    EXPECT_FALSE(main.HasIntervalThread()) << "Timer=0 starts no interval thread";
    EXPECT_EQ(main.HotKeyAtom(), 0u) << "UseHK defaults to off";
    EXPECT_EQ(ExtractFileName(main.HelpFilePath), "kestrin_win_tests.chm");
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
    EXPECT_TRUE(main.TB().Visible()) << "still wanted in the tray";
    EXPECT_FALSE(main.TB().IconAdded());
    EXPECT_GE(shell.Count(NIM_ADD), 2u) << "the shell gets more than one try";
    // The message comes from the loop, once the splash has gone.
    ASSERT_TRUE(WaitFor([&] { return !errors_.empty(); }));
    EXPECT_EQ(FindWindowA("TSS", nullptr), nullptr);
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0].text, "タスクトレイにアイコンを登録できません。");
    // The shell is ready later: its broadcast brings the icon.
    shell.FailNone();
    SendMessageA(main.Handle(), TTrayIcon::TaskbarCreatedMessage(), 0, 0);
    EXPECT_TRUE(WaitFor([&] { return main.TB().IconAdded(); })) << "added again from the loop";
}

TEST_F(MainFormTest, AnEndWithoutCloseStopsTheIntervalThreadBeforeTheIconGoes) {
    TMemCMain& main = Start("Timer=1\r\nCounter=1\r\n");
    ASSERT_TRUE(main.HasIntervalThread());
    // Due at the thread's next second: an automatic pass, then its animation.
    state_.SecondsElapsed = 100000;
    ASSERT_TRUE(WaitFor([&] { return main.TB().Animating(); }, 20000));
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
