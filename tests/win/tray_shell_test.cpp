// The tray icon against the real notification area of the desktop's
// taskbar: the icon is really there, a real click on it arrives as
// OnMouseDown, and after the taskbar's "TaskbarCreated" broadcast a lost
// icon comes back.
#include <windows.h>
#include <gtest/gtest.h>

#include <memory>

#include "framework/application.h"
#include "win32/icon_picture.h"
#include "framework/image_list.h"
#include "win32/portable/error.h"
#include "support/input.h"
#include "support/tray_support.h"
#include "support/windows_find.h"
#include "tray/tray_icon.h"

using namespace kestrin;
using namespace kestrin::test;

namespace {

// Unlike anything else on the taskbar, so the icon can be found by its picture.
constexpr uint32_t kMagenta = 0xFF00FF;
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kBlue = 0x0000FF;
constexpr DWORD kGenerous = 5000;

class TrayShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        App().Initialize(nullptr);
        GetCursorPos(&savedCursor_);
        owner_.Create();
        // The desktop shows its taskbar once the process has a window.
        ASSERT_NE(WaitForWindow("Shell_TrayWnd", nullptr, 10000), nullptr);
        icon_ = std::make_unique<TTrayIcon>(owner_);
        owner_.Icon = icon_.get();
        IconPicture picture;
        picture.Adopt(SolidIcon(kMagenta));
        icon_->SetIcon(&picture);
        icon_->SetTipHelp("Kestrin");
    }
    void TearDown() override {
        owner_.Icon = nullptr;
        icon_.reset();
        SetCursorPos(savedCursor_.x, savedCursor_.y);
    }

    // Asks the shell directly, behind the component's back.
    bool RawNotify(DWORD message) const {
        NOTIFYICONDATAA data{};
        data.cbSize = NOTIFYICONDATAA_V1_SIZE;
        data.hWnd = FindCallbackWindow(owner_.Handle());
        data.uID = static_cast<UINT>(icon_->IconId());
        data.uFlags = NIF_TIP;
        lstrcpyA(data.szTip, "Kestrin");
        return Shell_NotifyIconA(message, &data) != FALSE;
    }
    bool InTray() const { return RawNotify(NIM_MODIFY); }
    void BroadcastTaskbarCreated() {
        const int before = owner_.TaskbarCreatedSeen;
        PostMessageA(HWND_BROADCAST, TTrayIcon::TaskbarCreatedMessage(), 0, 0);
        ASSERT_TRUE(WaitFor([&] { return owner_.TaskbarCreatedSeen > before; }, kGenerous));
    }

    TrayOwnerForm owner_;
    ErrorCatcher errors_;
    std::unique_ptr<TTrayIcon> icon_;
    POINT savedCursor_{};
};

TEST_F(TrayShellTest, TheIconIsReallyInTheTrayUntilItGoes) {
    EXPECT_FALSE(InTray());
    icon_->SetVisible(true);
    ASSERT_TRUE(icon_->IconAdded());
    EXPECT_TRUE(InTray());
    EXPECT_TRUE(WaitFor([] { return FindColourInTaskbar(kMagenta).x >= 0; }, kGenerous))
        << "the icon's picture is not on the taskbar";

    icon_->SetVisible(false);
    EXPECT_FALSE(icon_->IconAdded());
    EXPECT_FALSE(InTray());
    EXPECT_TRUE(WaitFor([] { return FindColourInTaskbar(kMagenta).x < 0; }, kGenerous));
}

TEST_F(TrayShellTest, AnIconTheShellForgotIsAddedAgainByTheNextChange) {
    // What a restarted shell does before its "TaskbarCreated" arrives.
    icon_->SetVisible(true);
    ASSERT_TRUE(RawNotify(NIM_DELETE));
    EXPECT_FALSE(InTray());
    EXPECT_NO_THROW(icon_->SetTipHelp("Kestrin 2"));
    EXPECT_TRUE(InTray());
    EXPECT_TRUE(icon_->IconAdded());
    // Also the static picture put back at the end of an animation.
    ASSERT_TRUE(RawNotify(NIM_DELETE));
    IconPicture picture;
    picture.Adopt(SolidIcon(kRed));
    EXPECT_NO_THROW(icon_->SetIcon(&picture));
    EXPECT_TRUE(InTray());
    EXPECT_TRUE(errors_.Messages().empty());
}

TEST_F(TrayShellTest, TheTaskbarCreatedBroadcastBringsALostIconBack) {
    icon_->SetVisible(true);
    ASSERT_TRUE(RawNotify(NIM_DELETE));  // as a restarted taskbar knows no icons
    BroadcastTaskbarCreated();
    EXPECT_TRUE(icon_->IconAdded());
    EXPECT_TRUE(InTray());
    EXPECT_NO_THROW(icon_->SetTipHelp("Kestrin 2"));

    // A broadcast without a restart leaves one icon, still known as added.
    BroadcastTaskbarCreated();
    EXPECT_TRUE(icon_->IconAdded());
    EXPECT_TRUE(RawNotify(NIM_DELETE));
    EXPECT_FALSE(RawNotify(NIM_DELETE)) << "the broadcast added a second icon";
    EXPECT_TRUE(errors_.Messages().empty());
}

TEST_F(TrayShellTest, AHiddenIconStaysOutAfterTheBroadcast) {
    BroadcastTaskbarCreated();
    EXPECT_FALSE(icon_->IconAdded());
    EXPECT_FALSE(InTray());
}

TEST_F(TrayShellTest, AFailedReAddIsRetriedAtTheNextBroadcast) {
    icon_->SetVisible(true);
    ASSERT_TRUE(RawNotify(NIM_DELETE));
    {
        ShellRecorder refusing(ShellRecorder::Fake);
        refusing.Fail(NIM_ADD);
        refusing.Fail(NIM_MODIFY);
        BroadcastTaskbarCreated();  // no error may leave the broadcast's handler
        const auto calls = refusing.Calls();
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_ADD));
        EXPECT_EQ(calls[1].message, static_cast<DWORD>(NIM_MODIFY));
    }
    EXPECT_TRUE(errors_.Messages().empty());
    EXPECT_FALSE(icon_->IconAdded());
    EXPECT_FALSE(InTray());
    // Not in the tray: a change asks nothing of the shell and cannot fail.
    EXPECT_NO_THROW(icon_->SetTipHelp("Kestrin 2"));

    BroadcastTaskbarCreated();
    EXPECT_TRUE(icon_->IconAdded());
    EXPECT_TRUE(InTray());
}

TEST_F(TrayShellTest, ARealClickOnTheIconArrivesAsMouseDown) {
    int lefts = 0;
    int rights = 0;
    POINT at{};
    icon_->OnMouseDown = [&](TTrayIcon&, MouseButton button, ShiftState shift, int x, int y) {
        if (button == mbLeft && shift == ssLeft) ++lefts;
        if (button == mbRight && shift == ssRight) ++rights;
        at = {x, y};
    };
    icon_->SetVisible(true);
    const POINT spot = LocateTrayIcon(FindCallbackWindow(owner_.Handle()), static_cast<UINT>(icon_->IconId()));
    ASSERT_GE(spot.x, 0) << "the icon is nowhere on the taskbar";

    ClickAt(spot.x, spot.y);
    ASSERT_TRUE(WaitFor([&] { return lefts > 0; }, kGenerous)) << "no press at " << spot.x << "," << spot.y;
    EXPECT_EQ(lefts, 1);
    EXPECT_NEAR(at.x, spot.x, 1);
    EXPECT_NEAR(at.y, spot.y, 1);

    ClickAt(spot.x, spot.y, true);
    ASSERT_TRUE(WaitFor([&] { return rights > 0; }, kGenerous));
    EXPECT_EQ(rights, 1);
}

TEST_F(TrayShellTest, TheAnimationRunsWhileTheStartingThreadSleeps) {
    ImageList frames;
    for (uint32_t colour : {kRed, kBlue}) {
        IconHandle frame = SolidIcon(colour);
        ASSERT_GE(frames.AddIcon(frame.get()), 0);
    }
    icon_->SetAnimateIcons(&frames);
    icon_->SetAnimateRate(100);
    icon_->SetVisible(true);
    ShellRecorder shell(ShellRecorder::Forward);
    // As a hot-key pass does: the GUI thread blocks without handling messages
    // until the shell has taken three frames.
    icon_->StartAnimation(false);
    const bool framesTaken = WaitFor([&] { return shell.Count(NIM_MODIFY) >= 3; }, kGenerousMs, Pump::None);
    icon_->StopAnimation();

    ASSERT_TRUE(framesTaken) << "the frames stopped while the thread was blocked";
    const auto modifies = shell.Calls(NIM_MODIFY);
    ASSERT_GE(modifies.size(), 4u);
    for (const ShellCall& call : modifies) EXPECT_TRUE(call.result) << "the shell refused a picture";
    EXPECT_EQ(modifies[0].colour, kRed);
    EXPECT_EQ(modifies[1].colour, kBlue);
    EXPECT_EQ(modifies[2].colour, kRed);
    EXPECT_EQ(modifies.back().colour, kMagenta);
    EXPECT_TRUE(WaitFor([] { return FindColourInTaskbar(kMagenta).x >= 0; }, kGenerous));
    icon_->SetAnimateIcons(nullptr);
}

}  // namespace
