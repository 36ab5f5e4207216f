// The real Kestrin.exe's dialogs, opened from its tray menu and driven with
// real clicks and keys: the shortcut dialog with the files it writes and
// deletes in the prefix's Startup and desktop folders, its help page, the
// version dialog, the help's table of contents, and the warning that names a
// missing help file.
#include <windows.h>
#include <shellapi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "support/input.h"
#include "support/wait.h"
#include "support/kestrin_env.h"
#include "support/kestrin_process.h"
#include "support/screenshot.h"
#include "support/shortcut_reader.h"
#include "support/test_icons.h"
#include "support/tray_support.h"
#include "support/wine_paths.h"
#include "support/windows_find.h"

using namespace kestrin::test;

namespace {

constexpr DWORD kStartMs = 20000;
constexpr DWORD kShowMs = 10000;
constexpr char kOmakeCaption[] = "ショートカット作成／削除";
constexpr char kDoneText[] = "ショートカットを作成/削除しました.";

const std::string kResident = "\\Kestrin.lnk";
const std::string kOneShot = "\\Kestrin(非常駐).lnk";

// The boxes by caption, and the file each stands for.
struct Box {
    const char* caption;
    std::string (*folder)();
    const std::string* file;
};
const Box CB1{"ｽﾀｰﾄｱｯﾌﾟにｼｮｰﾄｶｯﾄ作成", &StartupFolder, &kResident};
const Box CB2{"ﾃﾞｽｸﾄｯﾌﾟにｼｮｰﾄｶｯﾄ作成", &DesktopFolder, &kResident};
const Box CB3{"ｽﾀｰﾄｱｯﾌﾟにｼｮｰﾄｶｯﾄ(非常駐)作成", &StartupFolder, &kOneShot};
const Box CB4{"ﾃﾞｽｸﾄｯﾌﾟにｼｮｰﾄｶｯﾄ(非常駐)作成", &DesktopFolder, &kOneShot};

std::string PathOf(const Box& box) { return box.folder() + *box.file; }

// Waits until a child window shows text (dark pixels) on the screen: the
// other process paints in its own time.
bool WaitForInk(HWND window) {
    return WaitFor(
        [&] {
            const Capture shot = CaptureScreen(DescribeWindow(window).windowRect);
            size_t dark = 0;
            for (uint32_t p : shot.pixels) dark += ((p >> 16) & 0xFF) < 0x50 && ((p >> 8) & 0xFF) < 0x50 && (p & 0xFF) < 0x50;
            return dark > 10;
        },
        kShowMs);
}

void RemoveShortcuts() {
    for (const Box* box : {&CB1, &CB2, &CB3, &CB4}) DeleteFileA(PathOf(*box).c_str());
}

class DialogsE2E : public ::testing::Test {
protected:
    virtual std::string ProgramPath() const { return KestrinExePath(); }
    void SetUp() override {
        RemoveIni();
        RemoveShortcuts();
        k_ = std::make_unique<KestrinProcess>("", ProgramPath());
        ASSERT_TRUE(k_->WaitForLines("resident", 1, kStartMs)) << "no end of start-up";
        callback_ = CallbackWindow(WaitForController(*k_));
        ASSERT_NE(callback_, nullptr);
    }
    void TearDown() override {
        if (HWND controller = WaitForController(*k_, 1000)) PostMessageA(controller, WM_CLOSE, 0, 0);
        EXPECT_TRUE(k_->WaitForExit(15000));
        RemoveShortcuts();
        RemoveIni();
    }

    // Opens the tray menu and picks an item with the keys given.
    void PickFromTrayMenu(std::initializer_list<WORD> keys) {
        HWND menu = OpenTrayMenu(*k_, callback_);
        ASSERT_NE(menu, nullptr) << "no tray menu";
        ASSERT_TRUE(WaitFor([&] { return HasKeyboard(menu); })) << "the menu does not have the keyboard";
        for (WORD key : keys) SendKey(key);
    }
    // "ショートカット作成", the first item.
    HWND OpenShortcutDialog() {
        PickFromTrayMenu({VK_DOWN, VK_RETURN});
        HWND dialog = WaitForWindow("TOmakeForm", kOmakeCaption, kShowMs, k_->ProcessId());
        EXPECT_NE(dialog, nullptr) << "no shortcut dialog";
        WaitFor([&] { return GetForegroundWindow() == dialog; }, kShowMs);
        return dialog;
    }
    static HWND BoxWindow(HWND dialog, const Box& box) { return FindWindowExA(dialog, nullptr, "Button", box.caption); }
    static bool Ticked(HWND dialog, const Box& box) {
        return SendMessageA(BoxWindow(dialog, box), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    // No window of the dialog's thread holds the mouse: a box ticks itself
    // before it lets go of the mouse, and a click before that would go to it.
    static bool MouseFree(HWND dialog) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) && !info.hwndCapture &&
               !(info.flags & GUI_INMENUMODE);
    }
    // A real click on the box's square.
    static void Toggle(HWND dialog, const Box& box) {
        const bool was = Ticked(dialog, box);
        RECT r{};
        GetWindowRect(BoxWindow(dialog, box), &r);
        ASSERT_TRUE(WaitFor([&] { return MouseFree(dialog); }, kShowMs));
        ClickAt(r.left + 6, (r.top + r.bottom) / 2);
        EXPECT_TRUE(WaitFor([&] { return Ticked(dialog, box) != was; }, kShowMs)) << box.caption;
    }
    // Enter (the default OK), then the confirmation, which is shown in every case.
    void PressOkAndConfirm(HWND dialog) {
        SendKey(VK_RETURN);
        HWND box = WaitForMessageBox(*k_, "Kestrin", kShowMs);
        ASSERT_NE(box, nullptr) << "no confirmation";
        bool found = false;
        for (const std::string& text : MessageBoxTexts(box)) found |= text == kDoneText;
        EXPECT_TRUE(found) << "confirmation text";
        EXPECT_FALSE(IsWindowVisible(dialog)) << "the dialog hides before it confirms";
        DismissMessageBox(box);
        EXPECT_TRUE(WaitForWindowGone("TOmakeForm", kShowMs, k_->ProcessId()));
    }

    std::unique_ptr<KestrinProcess> k_;
    HWND callback_ = nullptr;
};

void ExpectShortcut(const Box& box, const std::string& arguments) {
    const auto link = ReadShortcut(PathOf(box));
    ASSERT_TRUE(link.has_value()) << PathOf(box) << " is no shortcut";
    EXPECT_EQ(link->path, KestrinExePath());
    EXPECT_EQ(link->arguments, arguments);
    EXPECT_EQ(link->description, "Kestrin");
    EXPECT_EQ(link->workingDirectory, "");
    // The picture the shell shows: the icon at the link's icon location (the
    // target's first icon when it names none), read as the shell reads it.
    const std::string iconFile = link->iconPath.empty() ? link->path : link->iconPath;
    HICON shown = nullptr;
    ASSERT_EQ(ExtractIconExA(iconFile.c_str(), link->iconIndex, &shown, nullptr, 1), 1u) << iconFile;
    const kestrin::IconHandle shownIcon(shown);
    const kestrin::ModuleHandle program(LoadLibraryExA(KestrinExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    const char* group = arguments.empty() ? "MAINICON" : "MAINICON2";
    const kestrin::IconHandle expected(static_cast<HICON>(LoadImageA(program.get(), group, IMAGE_ICON, 32, 32, 0)));
    ASSERT_TRUE(expected) << group;
    EXPECT_EQ(RenderIcon(shownIcon.get(), 32, RGB(0, 128, 0)), RenderIcon(expected.get(), 32, RGB(0, 128, 0)))
        << PathOf(box) << " does not show " << group;
}

}  // namespace

// The boxes show the files there are; OK writes what is ticked and missing,
// deletes what is unticked and there, and leaves an existing file alone.
TEST_F(DialogsE2E, ShortcutDialogMakesTheFoldersMatchTheBoxes) {
    // Something else already lies where the Startup shortcut goes, and a
    // desktop shortcut is there from before.
    ASSERT_TRUE(WriteFileBytes(PathOf(CB1), "not a shortcut"));
    ASSERT_TRUE(WriteFileBytes(PathOf(CB2), "old"));

    HWND dialog = OpenShortcutDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(Ticked(dialog, CB1));
    EXPECT_TRUE(Ticked(dialog, CB2));
    EXPECT_FALSE(Ticked(dialog, CB3));
    EXPECT_FALSE(Ticked(dialog, CB4));
    Toggle(dialog, CB2);
    Toggle(dialog, CB3);
    Toggle(dialog, CB4);
    EXPECT_TRUE(WaitForInk(FindWindowExA(dialog, nullptr, "Button", "OK")));
    SaveArtifact(CaptureScreen(DescribeWindow(dialog).windowRect), "readme_shortcut_dialog");
    PressOkAndConfirm(dialog);
    EXPECT_EQ(ReadFileBytes(PathOf(CB1)), "not a shortcut") << "an existing file is left untouched";
    EXPECT_FALSE(FileExists(PathOf(CB2))) << "unticked: deleted";
    ExpectShortcut(CB3, "/n");
    ExpectShortcut(CB4, "/n");

    // Again: the boxes now show the new state; the resident desktop
    // shortcut comes back, the one-shot ones go.
    dialog = OpenShortcutDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(Ticked(dialog, CB1));
    EXPECT_FALSE(Ticked(dialog, CB2));
    EXPECT_TRUE(Ticked(dialog, CB3));
    EXPECT_TRUE(Ticked(dialog, CB4));
    Toggle(dialog, CB2);
    Toggle(dialog, CB3);
    Toggle(dialog, CB4);
    PressOkAndConfirm(dialog);
    ExpectShortcut(CB2, "");
    EXPECT_FALSE(FileExists(PathOf(CB3)));
    EXPECT_FALSE(FileExists(PathOf(CB4)));

    // Nothing changed: nothing happens, and the confirmation still shows.
    dialog = OpenShortcutDialog();
    ASSERT_NE(dialog, nullptr);
    const std::string before = ReadFileBytes(PathOf(CB2));
    PressOkAndConfirm(dialog);
    EXPECT_EQ(ReadFileBytes(PathOf(CB2)), before);
    EXPECT_EQ(ReadFileBytes(PathOf(CB1)), "not a shortcut");
}

// A copy of the program in a folder with a Japanese name: 153 characters,
// but 283 bytes in the ANSI code page, too long for the shortcut's 260-byte
// buffers. Its path must not be cut into another file's name: its shortcuts
// are passed over, and the dialog still confirms.
class LongPathDialogsE2E : public DialogsE2E {
protected:
    void SetUp() override {
        std::string folder = "C:\\kestrin-";
        for (int i = 0; i < 130; ++i) folder += "長";
        path_ = folder + "\\Kestrin.exe";
        CreateDirectoryA(folder.c_str(), nullptr);
        ASSERT_TRUE(CopyFileA(KestrinExePath().c_str(), path_.c_str(), FALSE));
        DialogsE2E::SetUp();
    }
    std::string ProgramPath() const override { return path_; }

    std::string path_;
};

TEST_F(LongPathDialogsE2E, ShortcutsToAProgramWhosePathDoesNotFitArePassedOver) {
    HWND dialog = OpenShortcutDialog();
    ASSERT_NE(dialog, nullptr);
    Toggle(dialog, CB2);
    Toggle(dialog, CB4);
    PressOkAndConfirm(dialog);
    EXPECT_FALSE(FileExists(PathOf(CB2))) << "a shortcut to a cut path";
    EXPECT_FALSE(FileExists(PathOf(CB4))) << "a shortcut to a cut path";
    EXPECT_EQ(k_->CountLines("shortcut not written"), 2u);
}

// F1 in the shortcut dialog opens the help viewer at the dialog's page.
TEST_F(DialogsE2E, F1InTheShortcutDialogOpensItsHelpPage) {
    HWND dialog = OpenShortcutDialog();
    ASSERT_NE(dialog, nullptr);
    SendKey(VK_F1);
    EXPECT_TRUE(k_->WaitForLines("help 1 18", 1, kShowMs)) << "help context 18 asked for";
    HWND viewer = WaitForWindow("HH Parent", nullptr, kShowMs, k_->ProcessId());
    EXPECT_NE(viewer, nullptr) << "no help viewer";
    if (viewer) PostMessageA(viewer, WM_CLOSE, 0, 0);
    WaitFor([&] { return GetForegroundWindow() == dialog; }, kShowMs);
    PressOkAndConfirm(dialog);
}

// "ヘルプ" (fourth item) opens the viewer at the table of contents.
TEST_F(DialogsE2E, HelpItemOpensTheHelpViewer) {
    PickFromTrayMenu({VK_UP, VK_UP, VK_UP, VK_RETURN});
    EXPECT_TRUE(k_->WaitForLines("help 1 0", 1, kShowMs));
    EXPECT_NE(WaitForWindow("HH Parent", nullptr, kShowMs, k_->ProcessId()), nullptr) << "no help viewer";
}

// A copy of the program without its help file beside it.
class NoHelpFileDialogsE2E : public DialogsE2E {
protected:
    void SetUp() override {
        CreateDirectoryA("C:\\kestrin-nohelp", nullptr);
        ASSERT_TRUE(CopyFileA(KestrinExePath().c_str(), ProgramPath().c_str(), FALSE));
        DialogsE2E::SetUp();
    }
    std::string ProgramPath() const override { return "C:\\kestrin-nohelp\\Kestrin.exe"; }
};

// "ヘルプ" with no help file: a warning that names the file, never nothing.
TEST_F(NoHelpFileDialogsE2E, HelpItemNamesTheMissingHelpFile) {
    PickFromTrayMenu({VK_UP, VK_UP, VK_UP, VK_RETURN});
    HWND box = WaitForMessageBox(*k_, "警告", kShowMs);
    ASSERT_NE(box, nullptr) << "no warning";
    const std::vector<std::string> texts = MessageBoxTexts(box);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "ヘルプファイル「C:\\kestrin-nohelp\\Kestrin.chm」が見つかりません。"),
              texts.end());
    DismissMessageBox(box);
}

// "ﾊﾞｰｼﾞｮﾝ情報(&A)...", by its access key: the version dialog; Enter closes it.
TEST_F(DialogsE2E, VersionItemShowsTheAboutBoxAndEnterClosesIt) {
    PickFromTrayMenu({'A'});
    HWND about = WaitForWindow("TAboutBox", "バージョン情報", kShowMs, k_->ProcessId());
    ASSERT_NE(about, nullptr) << "no version dialog";
    WaitFor([&] { return GetForegroundWindow() == about; }, kShowMs);
    // The labels are windows of their own (the links are drawn on the panel).
    HWND panel = GetWindow(about, GW_CHILD);
    bool product = false;
    for (HWND child = panel; child; child = GetWindow(child, GW_HWNDNEXT))
        for (const std::string& text : ChildTexts(child)) product |= text == "Kestrin Ver.1.56";
    EXPECT_TRUE(product) << "product label";
    EXPECT_TRUE(WaitForInk(FindWindowExA(about, nullptr, "Button", "OK")));
    SaveArtifact(CaptureScreen(DescribeWindow(about).windowRect), "readme_about_box");
    SendKey(VK_RETURN);
    EXPECT_TRUE(WaitForWindowGone("TAboutBox", kShowMs, k_->ProcessId()));
}

// A real right click on the icon, as the shell passes it on, opens the tray
// menu beside the icon (the README's picture).
TEST_F(DialogsE2E, RightClickOnTheIconOpensTheMenuBesideIt) {
    const POINT icon = LocateTrayIcon(callback_, 1);  // by a marker picture it leaves there
    ASSERT_GE(icon.x, 0) << "the icon is nowhere on the taskbar";
    // The program's own picture back, as after a restart of the taskbar.
    PostMessageA(WaitForController(*k_), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    ASSERT_TRUE(WaitFor([&] { return DistinctColours(CaptureScreen({icon.x - 8, icon.y - 8, icon.x + 8, icon.y + 8})) > 2; }));
    ClickAt(icon.x, icon.y, true);
    HWND menu = WaitForTrackingMenu(k_->ProcessId());
    ASSERT_NE(menu, nullptr) << "no tray menu";
    const RECT r = DescribeWindow(menu).windowRect;
    EXPECT_TRUE(r.left <= icon.x && icon.x < r.right && r.top < icon.y && r.bottom > icon.y - 40)
        << "menu at " << r.left << "," << r.top << "-" << r.right << "," << r.bottom;
    EXPECT_TRUE(WaitForInk(menu));
    const RECT shown{std::min<LONG>(r.left, icon.x) - 120, r.top - 12, GetSystemMetrics(SM_CXSCREEN),
                     GetSystemMetrics(SM_CYSCREEN)};
    SaveArtifact(CaptureScreen(shown), "readme_tray_menu");
    EXPECT_TRUE(CloseMenu(menu));
}
