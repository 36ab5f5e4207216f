// The real Kestrin.exe when the file system or the shell misbehaves: a
// settings file that cannot be read or written, the taskbar created again in
// the middle of something, a second start in each state of the first.
#include <windows.h>
#include <shellapi.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/input.h"
#include "support/kestrin_env.h"
#include "support/kestrin_process.h"
#include "support/wait.h"
#include "support/wine_paths.h"
#include "support/windows_find.h"

using namespace kestrin::test;

namespace {

constexpr DWORD kStartMs = 20000;
using Entries = std::vector<std::pair<std::string, std::string>>;

// Every key away from its default, so that a value read and a default differ.
const std::vector<std::string> kUserLines = {"Timer=0",  "MsgBox=0",   "Counter=5", "ManOnce=0",
                                             "UseHK=0",  "HKShifts=2", "HKChar=66"};
const Entries kUserEntries = {{"Timer", "0"}, {"MsgBox", "0"},   {"Counter", "5"}, {"ManOnce", "0"},
                              {"UseHK", "0"}, {"HKShifts", "2"}, {"HKChar", "66"}};
const Entries kDefaults = {{"Timer", "60"}, {"MsgBox", "1"},   {"Counter", "3"}, {"ManOnce", "1"},
                           {"UseHK", "0"},  {"HKShifts", "1"}, {"HKChar", "65"}};

std::unique_ptr<KestrinProcess> StartResident() {
    auto k = std::make_unique<KestrinProcess>();
    EXPECT_TRUE(k->WaitForLines("resident", 1, kStartMs)) << "start-up did not complete";
    return k;
}

bool BoxSays(HWND box, const std::string& text) {
    for (const std::string& t : MessageBoxTexts(box))
        if (t == text) return true;
    return false;
}

// Closes the controller; a refused write is reported in a box, which is
// dismissed. Returns whether the box came; the process must end either way.
bool CloseReportingRefusal(KestrinProcess& k) {
    HWND controller = WaitForController(k, 2000);
    EXPECT_NE(controller, nullptr);
    PostMessageA(controller, WM_CLOSE, 0, 0);
    bool refused = false;
    EXPECT_TRUE(WaitFor([&] {
        if (HWND box = FindWindowA("#32770", "Kestrin")) {
            if (!IsWindowVisible(box)) return false;
            EXPECT_TRUE(BoxSays(box, IniPath() + " に書き込めません"));
            refused = true;
            DismissMessageBox(box);
        }
        return !k.Running();
    }, 15000)) << "the close did not end";
    return refused;
}

bool TrayHasIcon(HWND callbackWindow) {
    NOTIFYICONDATAA probe{};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = callbackWindow;
    probe.uID = 1;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

// What a restarted Explorer does: the icon is gone, the new taskbar says so.
void RecreateTaskbar(HWND callbackWindow) {
    NOTIFYICONDATAA gone{};
    gone.cbSize = NOTIFYICONDATAA_V1_SIZE;
    gone.hWnd = callbackWindow;
    gone.uID = 1;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &gone));
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 5000,
                        &ignored);
}

class FaultsE2E : public ::testing::Test {
protected:
    void SetUp() override { RemoveIni(); }
    void TearDown() override {
        SetFileAttributesA(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryA(IniPath().c_str());
        RemoveIni();
    }
};

// --- settings file ---------------------------------------------------------

struct IniFault {
    const char* name;
    bool isFolder;      // a folder stands where the file goes
    bool lockedAtStart; // another process holds it open, sharing nothing
    bool lockedAtClose;
    bool readOnly;
    bool refusedAtClose;  // the close reports a refused write (a file never read is not written)
};

const IniFault kIniFaults[] = {
    {"folder", true, false, false, false, true},
    {"locked for the whole run", false, true, true, false, false},
    {"locked at start only", false, true, false, false, false},
    {"locked at close only", false, false, true, false, true},
    {"read-only", false, false, false, true, false},
};

// Start-up always completes; the close writes or says why not and ends; the
// user's values survive; the next start reads what is there.
TEST_F(FaultsE2E, AnUnusableSettingsFileNeverStopsStartOrCloseAndLosesNothing) {
    for (const IniFault& f : kIniFaults) {
        SCOPED_TRACE(f.name);
        if (f.isFolder) {
            ASSERT_TRUE(CreateDirectoryA(IniPath().c_str(), nullptr));
        } else {
            WriteIni(kUserLines);
        }
        if (f.readOnly) {
            ASSERT_TRUE(SetFileAttributesA(IniPath().c_str(), FILE_ATTRIBUTE_READONLY));
        }
        HANDLE lock = INVALID_HANDLE_VALUE;
        auto holdFile = [&] {
            lock = CreateFileA(IniPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        };
        auto releaseFile = [&] {
            if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
            lock = INVALID_HANDLE_VALUE;
        };
        if (f.lockedAtStart) holdFile();
        auto k = StartResident();
        if (f.lockedAtStart && !f.lockedAtClose) releaseFile();
        if (!f.lockedAtStart && f.lockedAtClose) holdFile();
        EXPECT_EQ(CloseReportingRefusal(*k), f.refusedAtClose);
        releaseFile();
        SetFileAttributesA(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
        if (f.isFolder) {
            ASSERT_TRUE(RemoveDirectoryA(IniPath().c_str()));
        } else {
            EXPECT_EQ(IniEntries(), kUserEntries) << "the user's settings were lost";
        }
        // The next start reads what is there, and its close writes it back.
        k = StartResident();
        EXPECT_FALSE(CloseReportingRefusal(*k));
        EXPECT_EQ(IniEntries(), f.isFolder ? kDefaults : kUserEntries);
        RemoveIni();
    }
}

// --- the taskbar created again -----------------------------------------------

// Up to 設定 from no selection: 閉じる, ﾊﾞｰｼﾞｮﾝ情報, ヘルプ, 設定.
HWND OpenSettingsDialog(const KestrinProcess& k) {
    HWND menu = OpenTrayMenu(k, CallbackWindow(WaitForController(k)));
    if (!menu || !WaitFor([&] { return HasKeyboard(menu); })) return nullptr;
    for (int i = 0; i < 4; ++i) SendKey(VK_UP);
    SendKey(VK_RETURN);
    HWND dialog = WaitForShownWindow("TPropForm", "プロパティ", 10000, k.ProcessId());
    if (dialog) WaitFor([&] { return HasKeyboard(dialog); });
    return dialog;
}

// Something under way when the taskbar comes back: how to start it, and the
// window (or trace line) that shows it has ended normally afterwards.
struct UnderWay {
    const char* name;
    std::vector<std::string> ini;
    std::function<bool(KestrinProcess&, HWND callback)> start;
    std::function<bool(KestrinProcess&)> ended;
};

const UnderWay kUnderWay[] = {
    {"settings dialog", {"Timer=0"},
     [](KestrinProcess& k, HWND) { return OpenSettingsDialog(k) != nullptr; },
     [](KestrinProcess& k) {
         SendKey(VK_F12);
         return WaitForWindowGone("TPropForm", 10000, k.ProcessId());
     }},
};

// A taskbar created again while the main thread is held (the 1 s notice, the
// 1.5 s animation): the animation's stop waits for a worker that waits for the
// shell, which may be waiting for this program's windows.
const UnderWay kUnderWayMainThreadHeld[] = {
    {"notice", {"Timer=0", "MsgBox=1", "ManOnce=1"},
     [](KestrinProcess& k, HWND callback) {
         PostTrayMessage(callback, WM_LBUTTONDOWN);
         return WaitForShownWindow("TNoticeForm", nullptr, 10000, k.ProcessId()) != nullptr;
     },
     [](KestrinProcess& k) { return WaitForWindowGone("TNoticeForm", 10000, k.ProcessId()); }},
    // A hot-key pass with an interval set ends with the 1.5 s animation.
    {"tray animation", {"Timer=30", "MsgBox=0", "UseHK=1", "HKShifts=3", "HKChar=75"},
     [](KestrinProcess& k, HWND) {
         SendKeyChord({VK_CONTROL, VK_MENU}, 'K');
         return k.WaitForLines("animation start", 1, 10000);
     },
     [](KestrinProcess& k) { return k.WaitForLines("animation stop", 1, 10000); }},
};

void ExpectIconBackAndAllEnds(const UnderWay& u) {
    {
        SCOPED_TRACE(u.name);
        WriteIni(u.ini);
        auto k = StartResident();
        HWND callback = CallbackWindow(WaitForController(*k));
        ASSERT_NE(callback, nullptr);
        ASSERT_TRUE(u.start(*k, callback));
        RecreateTaskbar(callback);
        EXPECT_TRUE(WaitFor([&] { return TrayHasIcon(callback); })) << "the icon did not come back";
        EXPECT_TRUE(u.ended(*k)) << "it did not end normally";
        EXPECT_TRUE(TrayHasIcon(callback));
        // The program still answers: the menu opens, and the close ends it.
        HWND menu = OpenTrayMenu(*k, callback);
        EXPECT_NE(menu, nullptr) << "the program no longer answers";
        if (menu) CloseMenu(menu);
        EXPECT_FALSE(CloseReportingRefusal(*k));
    }
}

TEST_F(FaultsE2E, TheIconComesBackWhenTheTaskbarIsCreatedAgainInTheMiddleOfThings) {
    for (const UnderWay& u : kUnderWay) ExpectIconBackAndAllEnds(u);
}

TEST_F(FaultsE2E, TheIconComesBackWhenTheTaskbarIsCreatedAgainWhileTheMainThreadIsHeld) {
    for (const UnderWay& u : kUnderWayMainThreadHeld) ExpectIconBackAndAllEnds(u);
}

// --- a second start ------------------------------------------------------------

// A state of the first instance, and whether the second finds its window.
struct FirstState {
    const char* name;
    std::function<void()> enter;  // starts the first (or not) and brings it there
    bool warns;
    bool closing;  // the first is closing already
};

TEST_F(FaultsE2E, ASecondStartWarnsOrEndsSilentlyInEveryStateOfTheFirst) {
    std::unique_ptr<KestrinProcess> first;
    HANDLE foreignMutex = nullptr;
    const FirstState states[] = {
        {"splash", [&] {
             first = std::make_unique<KestrinProcess>();
             ASSERT_NE(WaitForShownWindow("TSS", nullptr, kStartMs, first->ProcessId()), nullptr);
         }, true, false},
        {"notice", [&] {
             WriteIni({"Timer=0", "MsgBox=1", "ManOnce=1"});
             first = StartResident();
             PostTrayMessage(CallbackWindow(WaitForController(*first)), WM_LBUTTONDOWN);
             ASSERT_NE(WaitForShownWindow("TNoticeForm", nullptr, 10000, first->ProcessId()), nullptr);
         }, true, false},
        {"settings dialog", [&] {
             first = StartResident();
             ASSERT_NE(OpenSettingsDialog(*first), nullptr);
         }, true, false},
        // A close held up by its report of a refused write.
        {"closing", [&] {
             ASSERT_TRUE(CreateDirectoryA(IniPath().c_str(), nullptr));
             first = StartResident();
             PostMessageA(WaitForController(*first), WM_CLOSE, 0, 0);
             ASSERT_NE(WaitForMessageBox(*first, "Kestrin", 10000), nullptr);
         }, true, true},
        // The guard is there but no window: an instance between its
        // controller's end and its own.
        {"no window", [&] {
             foreignMutex = CreateMutexA(nullptr, FALSE, "hKestrinInst");
             ASSERT_NE(foreignMutex, nullptr);
         }, false, false},
    };
    for (const FirstState& s : states) {
        SCOPED_TRACE(s.name);
        s.enter();
        if (HasFatalFailure()) return;
        KestrinProcess second;
        if (s.warns) {
            HWND box = WaitForMessageBox(second, "警告", 10000);
            ASSERT_NE(box, nullptr) << "no warning";
            EXPECT_TRUE(BoxSays(box, "Kestrinは起動中です。"));
            DismissMessageBox(box);
        }
        // Without a window there is no box to wait for: it ends on its own.
        EXPECT_TRUE(second.WaitForExit(10000)) << "the second start did not end";
        EXPECT_EQ(second.CountLines("resident"), 0u) << "the second took over";
        if (first) {
            EXPECT_TRUE(first->Running()) << "the first ended";
            if (s.closing) {
                DismissMessageBox(WaitForMessageBox(*first, "Kestrin", 1000));
                EXPECT_TRUE(first->WaitForExit(15000)) << "the first did not finish closing";
            } else {
                EXPECT_TRUE(first->WaitForLines("resident", 1, kStartMs));
                EXPECT_FALSE(CloseReportingRefusal(*first));
            }
            first.reset();
        }
        if (foreignMutex) CloseHandle(foreignMutex);
        foreignMutex = nullptr;
        RemoveDirectoryA(IniPath().c_str());
        RemoveIni();
    }
}

// --- the shortcut dialog's folders -----------------------------------------------

// A folder of the shortcut dialog missing or read-only: every box ticked and
// OK; the confirmation shows, and the other folder's shortcuts are written.
struct FolderFault {
    const char* name;
    std::string (*folder)();  // the faulty one
    std::string (*other)();
    bool missing;             // else read-only
    bool writtenThere;        // what the dialog achieves in the faulty folder
};

const FolderFault kFolderFaults[] = {
    {"Startup missing", &StartupFolder, &DesktopFolder, true, false},
    {"Startup read-only", &StartupFolder, &DesktopFolder, false, true},
    {"desktop read-only", &DesktopFolder, &StartupFolder, false, true},
};

const char* const kBoxes[] = {"ｽﾀｰﾄｱｯﾌﾟにｼｮｰﾄｶｯﾄ作成", "ｽﾀｰﾄｱｯﾌﾟにｼｮｰﾄｶｯﾄ(非常駐)作成", "ﾃﾞｽｸﾄｯﾌﾟにｼｮｰﾄｶｯﾄ作成",
                              "ﾃﾞｽｸﾄｯﾌﾟにｼｮｰﾄｶｯﾄ(非常駐)作成"};
const char* const kLinks[] = {"\\Kestrin.lnk", "\\Kestrin(非常駐).lnk"};

void RemoveLinks(const std::string& folder) {
    for (const char* link : kLinks) DeleteFileA((folder + link).c_str());
}

TEST_F(FaultsE2E, AShortcutFolderMissingOrReadOnlyStillConfirmsAndWritesTheOther) {
    for (const FolderFault& f : kFolderFaults) {
        SCOPED_TRACE(f.name);
        const std::string faulty = f.folder(), other = f.other();
        RemoveLinks(faulty);
        RemoveLinks(other);
        if (f.missing) {
            ASSERT_TRUE(RemoveDirectoryA(faulty.c_str())) << "the folder holds something else";
        } else {
            ASSERT_TRUE(SetFileAttributesA(faulty.c_str(), FILE_ATTRIBUTE_READONLY));
        }
        auto k = StartResident();
        HWND menu = OpenTrayMenu(*k, CallbackWindow(WaitForController(*k)));
        ASSERT_NE(menu, nullptr);
        ASSERT_TRUE(WaitFor([&] { return HasKeyboard(menu); }));
        SendKey(VK_DOWN);
        SendKey(VK_RETURN);
        HWND dialog = WaitForShownWindow("TOmakeForm", nullptr, 10000, k->ProcessId());
        ASSERT_NE(dialog, nullptr) << "no shortcut dialog";
        for (const char* caption : kBoxes) {
            HWND box = FindWindowExA(dialog, nullptr, "Button", caption);
            ASSERT_NE(box, nullptr) << caption;
            EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED) << caption;
            SendMessageA(box, BM_CLICK, 0, 0);
            EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED) << caption;
        }
        PostMessageA(FindWindowExA(dialog, nullptr, "Button", "OK"), BM_CLICK, 0, 0);
        HWND done = WaitForMessageBox(*k, "Kestrin", 10000);
        ASSERT_NE(done, nullptr) << "no confirmation";
        EXPECT_TRUE(BoxSays(done, "ショートカットを作成/削除しました."));
        DismissMessageBox(done);
        EXPECT_TRUE(WaitForWindowGone("TOmakeForm", 10000, k->ProcessId()));
        for (const char* link : kLinks) {
            EXPECT_TRUE(FileExists(other + link)) << other + link;
            EXPECT_EQ(FileExists(faulty + link), f.writtenThere) << faulty + link;
        }
        EXPECT_FALSE(FileExists(kLinks[0])) << "a shortcut went to the root";
        EXPECT_FALSE(CloseReportingRefusal(*k));
        SetFileAttributesA(faulty.c_str(), FILE_ATTRIBUTE_NORMAL);
        CreateDirectoryA(faulty.c_str(), nullptr);
        RemoveLinks(faulty);
        RemoveLinks(other);
    }
}

}  // namespace
