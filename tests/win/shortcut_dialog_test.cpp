// The shortcut dialog in this process, with its folders moved to folders of
// the test's own: a folder that cannot be had, a path too long for the
// buffers, and COM left as it was found.
#include <windows.h>
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "dialogs/shortcut_dialog.h"
#include "win32/com_scope.h"
#include "support/app_fixture.h"
#include "support/dialog_watcher.h"
#include "support/shortcut_reader.h"
#include "support/wine_paths.h"

namespace kestrin {
namespace {

class FolderOmakeForm : public TOmakeForm {
public:
    std::string startup;
    std::string desktop;
    std::string GetStartUpFolderDir() override { return startup; }
    std::string GetDesktopFolderDir() override { return desktop; }
};

std::string TempFolder(const std::string& name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::set<std::string> FilesIn(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

void Empty(const std::string& folder) {
    for (const std::string& name : FilesIn(folder)) DeleteFileA((folder + "\\" + name).c_str());
}

class OmakeFormTest : public test::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        Empty(desktop_);
    }
    void TearDown() override {
        Empty(desktop_);
        AppTest::TearDown();
    }
    // Clicks the boxes of those captions and runs the apply step's reconciling.
    static void Apply(FolderOmakeForm& form, std::initializer_list<const char*> ticked) {
        for (const char* box : ticked) SendMessageA(FindWindowExA(form.Handle(), nullptr, "BUTTON", box), BM_CLICK, 0, 0);
        ComScope com;
        form.MakeSC();
    }
    static constexpr char kCB1[] = "ｽﾀｰﾄｱｯﾌﾟにｼｮｰﾄｶｯﾄ作成", kCB2[] = "ﾃﾞｽｸﾄｯﾌﾟにｼｮｰﾄｶｯﾄ作成";
    static constexpr char kCB3[] = "ｽﾀｰﾄｱｯﾌﾟにｼｮｰﾄｶｯﾄ(非常駐)作成", kCB4[] = "ﾃﾞｽｸﾄｯﾌﾟにｼｮｰﾄｶｯﾄ(非常駐)作成";
    const std::string desktop_ = TempFolder("kestrin_desktop");
};

TEST_F(OmakeFormTest, AFolderThatCannotBeHadIsPassedOver) {
    const std::string rootLink = "\\Kestrin.lnk";
    ASSERT_FALSE(test::FileExists(rootLink));
    FolderOmakeForm form;
    form.startup = "";  // the shell could not tell
    form.desktop = desktop_;
    form.Create();
    Apply(form, {kCB1, kCB2, kCB3, kCB4});
    EXPECT_FALSE(test::FileExists(rootLink)) << "never a shortcut in the root of the current drive";
    EXPECT_FALSE(test::FileExists("\\Kestrin(非常駐).lnk"));
    EXPECT_EQ(FilesIn(desktop_), (std::set<std::string>{"Kestrin.lnk", "Kestrin(非常駐).lnk"}))
        << "the other folder is still handled";
}

TEST_F(OmakeFormTest, APathTooLongForItsBuffersIsPassedOverNotCut) {
    // A folder whose path leaves room for "\Kestrin.lnk" (12 bytes) within
    // 260 bytes but not for "\Kestrin(非常駐).lnk" (20 bytes).
    std::string deep = desktop_;
    while (deep.size() < 244) {
        deep += "\\" + std::string(std::min<size_t>(40, 243 - deep.size()), 'd');
        CreateDirectoryA(deep.c_str(), nullptr);
    }
    ASSERT_EQ(deep.size(), 244u);
    ASSERT_NE(GetFileAttributesA(deep.c_str()), INVALID_FILE_ATTRIBUTES);
    FolderOmakeForm form;
    form.startup = deep;
    form.desktop = desktop_;
    form.Create();
    Apply(form, {kCB1, kCB3});
    EXPECT_EQ(FilesIn(deep), std::set<std::string>{"Kestrin.lnk"}) << "the one-shot path would not fit: no file, "
                                                                        "and no file under a cut name";
    const auto written = test::ReadShortcut(deep + "\\Kestrin.lnk");
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(written->description, "Kestrin");
    Empty(deep);
    for (std::string folder = deep; folder.size() > desktop_.size(); folder.resize(folder.rfind('\\')))
        RemoveDirectoryA(folder.c_str());
}

// OK (with its picture): reconcile, hide, confirm, close; COM on this
// thread is as it was.
TEST_F(OmakeFormTest, OkConfirmsClosesAndLeavesComAsItWas) {
    const HRESULT before = CoInitialize(nullptr);
    CoUninitialize();
    FolderOmakeForm form;
    form.startup = desktop_;
    form.desktop = desktop_;
    form.Create();
    form.Show();
    const HWND ok = FindWindowExA(form.Handle(), nullptr, "Button", "OK");
    EXPECT_NE(SendMessageA(ok, BM_GETIMAGE, IMAGE_ICON, 0), 0) << "the OK picture, as on the settings dialog";
    SendMessageA(FindWindowExA(form.Handle(), nullptr, "BUTTON", kCB2), BM_CLICK, 0, 0);
    test::DialogWatcher box("Kestrin");
    form.OKButtonClick();
    const test::DialogSeen& seen = box.Result();
    EXPECT_EQ(seen.text, "ショートカットを作成/削除しました.");
    EXPECT_EQ(form.ModalResult(), mrCancel) << "the dialog does not end as a close";
    EXPECT_TRUE(test::FileExists(desktop_ + "\\Kestrin.lnk"));
    const HRESULT after = CoInitialize(nullptr);
    CoUninitialize();
    EXPECT_EQ(after, before) << "COM initialised once more than uninitialised";
}

}  // namespace
}  // namespace kestrin
