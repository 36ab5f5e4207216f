// The tray icon component: identifiers, the record it hands to the shell,
// its properties' rules and its removal notices. The shell is replaced by a
// recorder here, so every call can be counted and read back.
#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/application.h"
#include "win32/icon_picture.h"
#include "framework/image_list.h"
#include "framework/popup_menu.h"
#include "win32/portable/error.h"
#include "support/tray_support.h"
#include "tray/tray_icon.h"

using namespace kestrin;
using namespace kestrin::test;

namespace {

constexpr char kTrayError[] = "タスクトレイにアイコンを登録できません。";
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGreen = 0x00FF00;

void SetSolidIcon(TTrayIcon& icon, uint32_t colour) {
    IconPicture picture;
    picture.Adopt(SolidIcon(colour));
    icon.SetIcon(&picture);
}

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        App().Initialize(nullptr);
        owner_.Create();
    }

    TrayOwnerForm owner_;
    ErrorCatcher errors_;
    ShellRecorder shell_;
};

TEST_F(TrayIconTest, IdentifiersFollowTheLastLiveIcon) {
    {
        auto first = std::make_unique<TTrayIcon>(owner_);
        auto second = std::make_unique<TTrayIcon>(owner_);
        auto third = std::make_unique<TTrayIcon>(owner_);
        EXPECT_EQ(first->IconId(), 1);
        EXPECT_EQ(second->IconId(), 2);
        EXPECT_EQ(third->IconId(), 3);
        EXPECT_EQ(TTrayIcon::FromId(2), second.get());

        second.reset();
        EXPECT_EQ(TTrayIcon::FromId(2), nullptr);
        TTrayIcon fourth(owner_);
        EXPECT_EQ(fourth.IconId(), 4);
    }
    {
        auto first = std::make_unique<TTrayIcon>(owner_);
        auto second = std::make_unique<TTrayIcon>(owner_);
        auto third = std::make_unique<TTrayIcon>(owner_);
        ASSERT_EQ(third->IconId(), 3);
        third.reset();
        TTrayIcon again(owner_);
        EXPECT_EQ(again.IconId(), 3);
        EXPECT_EQ(TTrayIcon::FromId(3), &again);
    }
}

TEST_F(TrayIconTest, AHundredAndFirstIconIsRefusedAndLeavesNoTrace) {
    std::vector<std::unique_ptr<TTrayIcon>> icons;
    for (int i = 0; i < 100; ++i) icons.push_back(std::make_unique<TTrayIcon>(owner_));
    EXPECT_EQ(icons.back()->IconId(), 100);
    try {
        TTrayIcon extra(owner_);
        FAIL() << "a 101st icon was made";
    } catch (const KestrinError& error) {
        EXPECT_STREQ(error.what(), kTrayError);
    }
    EXPECT_EQ(TTrayIcon::FromId(101), nullptr);
    icons.pop_back();
    TTrayIcon last(owner_);
    EXPECT_EQ(last.IconId(), 100);
}

TEST_F(TrayIconTest, DefaultsAndTheRecordOfTheFirstLayout) {
    TTrayIcon icon(owner_);
    EXPECT_FALSE(icon.Animating());
    EXPECT_EQ(icon.AnimateIcons(), nullptr);
    EXPECT_EQ(icon.AnimateRate(), 500);
    EXPECT_TRUE(icon.AutoPopup());
    EXPECT_TRUE(icon.Enabled());
    EXPECT_TRUE(icon.Icon().Empty());
    EXPECT_EQ(icon.TipHelp(), "TipHelp");
    EXPECT_FALSE(icon.Visible());
    EXPECT_FALSE(icon.IconAdded());
    EXPECT_EQ(shell_.Calls().size(), 0u);

    SetSolidIcon(icon, kRed);
    EXPECT_EQ(shell_.Calls().size(), 0u) << "a picture change of an icon not in the tray is sent";
    icon.SetVisible(true);
    EXPECT_TRUE(icon.Visible());
    EXPECT_TRUE(icon.IconAdded());

    const auto calls = shell_.Calls();
    ASSERT_EQ(calls.size(), 1u);
    const ShellCall& add = calls[0];
    EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(add.cbSize, 88u);
    EXPECT_EQ(add.callbackMessage, 0x4C8u);
    EXPECT_EQ(add.id, 1u);
    EXPECT_EQ(add.flags, 7u);
    EXPECT_EQ(add.tip, "TipHelp");
    EXPECT_EQ(add.colour, kRed);
    HWND callback = FindCallbackWindow(owner_.Handle());
    ASSERT_NE(callback, nullptr);
    EXPECT_EQ(add.window, callback);
    EXPECT_EQ(GetParent(callback), owner_.Handle());
    EXPECT_FALSE(IsWindowVisible(callback));
}

TEST_F(TrayIconTest, TipIsCutTo62BytesAndAnEqualCutSendsNothing) {
    TTrayIcon icon(owner_);
    SetSolidIcon(icon, kRed);
    icon.SetVisible(true);
    shell_.Clear();

    const std::string seventy(70, 'a');
    icon.SetTipHelp(seventy);
    EXPECT_EQ(icon.TipHelp(), std::string(62, 'a'));
    auto modifies = shell_.Calls(NIM_MODIFY);
    ASSERT_EQ(modifies.size(), 1u);
    EXPECT_EQ(modifies[0].tip, std::string(62, 'a'));
    EXPECT_EQ(modifies[0].flags, 7u);

    // Another text with the same first 62 bytes: nothing changes, nothing is sent.
    icon.SetTipHelp(std::string(62, 'a') + "bbbbbbbb");
    icon.SetTipHelp(std::string(62, 'a'));
    EXPECT_EQ(shell_.Calls().size(), 1u);

    // A double-byte character across the cut is dropped whole.
    icon.SetTipHelp(std::string(61, 'a') + "メモリ");
    EXPECT_EQ(icon.TipHelp(), std::string(61, 'a'));
    EXPECT_EQ(shell_.Calls().back().tip, std::string(61, 'a'));
}

TEST_F(TrayIconTest, FlagsCarryTheTipOnlyWhenThereIsOne) {
    TTrayIcon icon(owner_);
    SetSolidIcon(icon, kRed);
    icon.SetTipHelp("");
    icon.SetVisible(true);
    icon.SetTipHelp("Kestrin");
    icon.SetTipHelp("");
    const auto calls = shell_.Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(calls[0].flags, 3u);
    EXPECT_EQ(calls[1].flags, 7u);
    EXPECT_EQ(calls[1].tip, "Kestrin");
    EXPECT_EQ(calls[2].flags, 3u);
    EXPECT_EQ(calls[2].tip, "");
}

TEST_F(TrayIconTest, VisibleNeedsAPictureAndNoPictureHidesTheIcon) {
    TTrayIcon icon(owner_);
    icon.SetVisible(true);
    EXPECT_FALSE(icon.Visible());
    EXPECT_EQ(shell_.Calls().size(), 0u);

    SetSolidIcon(icon, kRed);
    icon.SetVisible(true);
    ASSERT_TRUE(icon.IconAdded());
    shell_.Clear();

    // A new picture while shown goes to the shell at once.
    SetSolidIcon(icon, kGreen);
    ASSERT_EQ(shell_.Calls().size(), 1u);
    EXPECT_EQ(shell_.Calls()[0].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(shell_.Calls()[0].colour, kGreen);
    shell_.Clear();

    // No picture: first shown without one, then taken out of the tray.
    icon.SetIcon(nullptr);
    const auto calls = shell_.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(calls[0].icon, nullptr);
    EXPECT_EQ(calls[1].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(calls[1].id, static_cast<UINT>(icon.IconId()));
    EXPECT_FALSE(icon.Visible());
    EXPECT_FALSE(icon.IconAdded());
    EXPECT_TRUE(icon.Icon().Empty());
}

TEST_F(TrayIconTest, HidingDeletesAndShowingAddsAgain) {
    TTrayIcon icon(owner_);
    SetSolidIcon(icon, kRed);
    icon.SetVisible(true);
    icon.SetVisible(true);  // unchanged: nothing sent
    icon.SetVisible(false);
    icon.SetVisible(true);
    const auto calls = shell_.Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(calls[1].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(calls[2].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_TRUE(icon.IconAdded());
}

TEST_F(TrayIconTest, StoredSettingsAddTheIconOnceAtTheLoadedStep) {
    LoadingScope description;  // made in a form description
    TTrayIcon icon(owner_);
    icon.SetTipHelp("Kestrin");
    SetSolidIcon(icon, kRed);
    icon.SetVisible(true);
    EXPECT_TRUE(icon.Visible());
    EXPECT_EQ(shell_.Calls().size(), 0u);
    description.Finish();
    const auto calls = shell_.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(calls[0].tip, "Kestrin");
    EXPECT_EQ(calls[0].colour, kRed);
    EXPECT_FALSE(icon.Loading());

    // Not visible by the loaded step: nothing is added.
    LoadingScope another;
    TTrayIcon hidden(owner_);
    SetSolidIcon(hidden, kRed);
    another.Finish();
    EXPECT_EQ(shell_.Calls().size(), 1u);
    EXPECT_FALSE(hidden.IconAdded());
}

TEST_F(TrayIconTest, ShellRefusalsRaiseTheTrayErrorAndKeepTheState) {
    TTrayIcon icon(owner_);
    SetSolidIcon(icon, kRed);
    shell_.Fail(NIM_ADD);
    try {
        icon.SetVisible(true);
        FAIL() << "a refused add went unreported";
    } catch (const KestrinError& error) {
        EXPECT_STREQ(error.what(), kTrayError);
    }
    EXPECT_FALSE(icon.IconAdded());

    shell_.FailNone();
    icon.SetVisible(false);
    icon.SetVisible(true);
    ASSERT_TRUE(icon.IconAdded());

    shell_.Fail(NIM_MODIFY);
    shell_.Fail(NIM_ADD);
    EXPECT_THROW(icon.SetTipHelp("Kestrin"), KestrinError);
    EXPECT_EQ(icon.TipHelp(), "Kestrin");
    EXPECT_TRUE(icon.IconAdded());

    // A refused delete is not an error.
    shell_.Fail(NIM_DELETE);
    EXPECT_NO_THROW(icon.SetVisible(false));
    EXPECT_FALSE(icon.IconAdded());
}

TEST_F(TrayIconTest, SimpleProperties) {
    TTrayIcon icon(owner_);
    icon.SetAnimateRate(50);
    EXPECT_EQ(icon.AnimateRate(), 100);
    icon.SetAnimateRate(100);
    EXPECT_EQ(icon.AnimateRate(), 100);
    icon.SetAnimateRate(-5);
    EXPECT_EQ(icon.AnimateRate(), 100);
    icon.SetAnimateRate(250);
    EXPECT_EQ(icon.AnimateRate(), 250);
    icon.SetAutoPopup(false);
    EXPECT_FALSE(icon.AutoPopup());
    icon.SetEnabled(false);
    EXPECT_FALSE(icon.Enabled());
}

TEST_F(TrayIconTest, DestroyedMenusAndImageListAreForgotten) {
    TTrayIcon icon(owner_);
    auto left = std::make_unique<PopupMenu>(owner_.Handle());
    auto right = std::make_unique<PopupMenu>(owner_.Handle());
    auto frames = std::make_unique<ImageList>();
    icon.SetLBPopupMenu(left.get());
    icon.SetRBPopupMenu(right.get());
    icon.SetAnimateIcons(frames.get());

    left.reset();
    EXPECT_EQ(icon.LBPopupMenu(), nullptr);
    EXPECT_EQ(icon.RBPopupMenu(), right.get());
    right.reset();
    EXPECT_EQ(icon.RBPopupMenu(), nullptr);
    frames.reset();
    EXPECT_EQ(icon.AnimateIcons(), nullptr);

    // One menu for both buttons: its end clears both.
    PopupMenu both(owner_.Handle());
    auto shared = std::make_unique<PopupMenu>(owner_.Handle());
    icon.SetLBPopupMenu(shared.get());
    icon.SetRBPopupMenu(shared.get());
    shared.reset();
    EXPECT_EQ(icon.LBPopupMenu(), nullptr);
    EXPECT_EQ(icon.RBPopupMenu(), nullptr);

    // A replaced menu no longer reaches the icon when it goes.
    auto old = std::make_unique<PopupMenu>(owner_.Handle());
    icon.SetRBPopupMenu(old.get());
    icon.SetRBPopupMenu(&both);
    old.reset();
    EXPECT_EQ(icon.RBPopupMenu(), &both);
}

TEST_F(TrayIconTest, MenusAndListsOutliveTheIconSafely) {
    auto menu = std::make_unique<PopupMenu>(owner_.Handle());
    auto frames = std::make_unique<ImageList>();
    {
        TTrayIcon icon(owner_);
        icon.SetRBPopupMenu(menu.get());
        icon.SetAnimateIcons(frames.get());
    }
    // The icon's observers went with it; a second icon sees only its own.
    TTrayIcon second(owner_);
    second.SetLBPopupMenu(menu.get());
    menu.reset();
    frames.reset();
    EXPECT_EQ(second.LBPopupMenu(), nullptr);
}

TEST_F(TrayIconTest, DestructionTakesTheIconOutOfTheTray) {
    int32_t id = 0;
    {
        TTrayIcon icon(owner_);
        id = icon.IconId();
        SetSolidIcon(icon, kRed);
        icon.SetVisible(true);
        shell_.Clear();
    }
    const auto calls = shell_.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(calls[0].id, static_cast<UINT>(id));
    EXPECT_EQ(TTrayIcon::FromId(static_cast<uint32_t>(id)), nullptr);

    // An icon that was never added sends nothing when it goes.
    shell_.Clear();
    { TTrayIcon quiet(owner_); }
    EXPECT_EQ(shell_.Calls().size(), 0u);
}

}  // namespace
