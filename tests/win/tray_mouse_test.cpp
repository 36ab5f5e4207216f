// The shell's notifications as the callback window receives them: posted
// 0x4C8 messages with the icon's identifier and a mouse message, turned into
// the icon's events, the single-click waiter and popup menus.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "framework/application.h"
#include "win32/icon_picture.h"
#include "framework/popup_menu.h"
#include "win32/portable/error.h"
#include "framework/portable/messages.h"
#include "support/control_host.h"
#include "support/input.h"
#include "support/tray_support.h"
#include "support/wait.h"
#include "support/windows_find.h"
#include "tray/tray_icon.h"
#include "tray/callback_window.h"
#include "tray/single_click.h"

using namespace kestrin;
using namespace kestrin::test;

namespace {

constexpr int kCursorX = 500;
constexpr int kCursorY = 300;

std::string ButtonName(MouseButton button) {
    switch (button) {
        case mbLeft:
            return "L";
        case mbRight:
            return "R";
        default:
            return "M";
    }
}

// Watches for the popup menus of this process that open while it lives,
// closes each with Esc once it tracks, and remembers where it was.
class MenuCloser {
public:
    MenuCloser() : thread_([this] { Run(); }) {}
    ~MenuCloser() {
        stop_ = true;
        thread_.join();
    }
    int Seen() const { return seen_.load(); }
    RECT LastRect() const { return lastRect_; }

private:
    void Run() {
        while (!stop_) {
            HWND menu = nullptr;
            if (!WaitFor([&] { return stop_ || (menu = TrackingMenu(GetCurrentProcessId())) != nullptr; })) continue;
            if (!menu) break;
            GetWindowRect(menu, &lastRect_);
            ++seen_;
            PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
            WaitFor([&] { return TrackingMenu(GetCurrentProcessId()) != menu; });
        }
    }

    std::atomic<bool> stop_{false};
    std::atomic<int> seen_{0};
    RECT lastRect_{};
    std::thread thread_;
};

class TrayMouseTest : public ::testing::Test {
protected:
    void SetUp() override {
        App().Initialize(nullptr);
        owner_.Create();
        icon_ = std::make_unique<TTrayIcon>(owner_);
        callback_ = FindCallbackWindow(owner_.Handle());
        ASSERT_NE(callback_, nullptr);
        GetCursorPos(&savedCursor_);
        // Moved as a mouse would move it: a pointer only set by the program
        // can be put back by a late event of the display from an earlier test.
        MoveMouseTo(kCursorX, kCursorY);
        ASSERT_TRUE(WaitFor([] {
            POINT at{};
            return GetCursorPos(&at) && at.x == kCursorX && at.y == kCursorY;
        }));
        icon_->OnMouseDown = [this](TTrayIcon& sender, MouseButton button, ShiftState shift, int x, int y) {
            EXPECT_EQ(&sender, icon_.get());
            events_.push_back("down " + ButtonName(button) + " " + std::to_string(shift) + " " + std::to_string(x) +
                              "," + std::to_string(y));
        };
        icon_->OnMouseMove = [this](TTrayIcon&, ShiftState shift, int x, int y) {
            events_.push_back("move " + std::to_string(shift) + " " + std::to_string(x) + "," + std::to_string(y));
        };
    }
    void TearDown() override {
        icon_.reset();
        // Later tests open menus of their own; the pointer must not sit on them.
        SetCursorPos(savedCursor_.x, savedCursor_.y);
    }

    void Notify(UINT mouseMessage) { PostTrayNotification(callback_, static_cast<uint32_t>(icon_->IconId()), mouseMessage); }
    // The waiter's delay plus a generous margin for a busy machine.
    static DWORD ClickWait() { return TSingleClick::Delay() + 3000; }
    // For "no click came": the waiter posts nothing the test could wait for,
    // so the check is a window that lasts well past its delay.
    static DWORD PastTheWaiter() { return TSingleClick::Delay() + 400; }

    TrayOwnerForm owner_;
    ErrorCatcher errors_;
    ShellRecorder shell_;
    std::unique_ptr<TTrayIcon> icon_;
    HWND callback_ = nullptr;
    POINT savedCursor_{};
    std::vector<std::string> events_;
};

std::string At(const char* prefix) {
    return std::string(prefix) + " " + std::to_string(kCursorX) + "," + std::to_string(kCursorY);
}

TEST_F(TrayMouseTest, NotificationsBecomeEventsWithThePointerPosition) {
    icon_->OnMouseUp = [this](TTrayIcon&, MouseButton button, ShiftState shift, int x, int y) {
        events_.push_back("up " + ButtonName(button) + " " + std::to_string(shift) + " " + std::to_string(x) + "," +
                          std::to_string(y));
    };
    struct Case {
        UINT message;
        std::string expected;  // empty: no event
    };
    const Case cases[] = {
        {WM_MOUSEMOVE, At("move 0")},
        {WM_LBUTTONDOWN, At("down L 8")},
        {WM_LBUTTONUP, At("up L 8")},
        {WM_RBUTTONDOWN, At("down R 16")},
        {WM_RBUTTONUP, At("up R 16")},
        {WM_RBUTTONDBLCLK, ""},
        {WM_MBUTTONDOWN, At("down M 32")},
        {WM_MBUTTONUP, At("up M 32")},
        {WM_MBUTTONDBLCLK, ""},
        {WM_KEYDOWN, ""},
    };
    for (const Case& c : cases) {
        events_.clear();
        Notify(c.message);
        if (c.expected.empty())
            EXPECT_TRUE(events_.empty()) << "message 0x" << std::hex << c.message;
        else
            EXPECT_EQ(events_, std::vector<std::string>{c.expected}) << "message 0x" << std::hex << c.message;
    }
    TCallbackWindow* window = TCallbackWindow::Shared();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(static_cast<Control*>(window), Control::FromHandle(callback_));
    EXPECT_EQ(window->CurrentIcon(), icon_.get());
}

TEST_F(TrayMouseTest, UnknownIdentifiersAreIgnored) {
    PostTrayNotification(callback_, static_cast<uint32_t>(icon_->IconId()) + 1, WM_LBUTTONDOWN);
    PostTrayNotification(callback_, 0, WM_LBUTTONDOWN);
    EXPECT_TRUE(events_.empty());
    TCallbackWindow* window = TCallbackWindow::Shared();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(static_cast<Control*>(window), Control::FromHandle(callback_));
    EXPECT_EQ(window->CurrentIcon(), nullptr);
}

TEST_F(TrayMouseTest, ASingleClickArrivesAfterTheDoubleClickTime) {
    int clicks = 0;
    icon_->OnClick = [&](TTrayIcon&) { ++clicks; };
    Notify(WM_LBUTTONDOWN);
    const DWORD released = GetTickCount();
    Notify(WM_LBUTTONUP);
    EXPECT_TRUE(icon_->ClickPending());
    EXPECT_EQ(clicks, 0);
    ASSERT_TRUE(WaitFor([&] { return clicks > 0; }, ClickWait()));
    const DWORD elapsed = GetTickCount() - released;
    EXPECT_GE(elapsed, GetDoubleClickTime()) << "the click came before a double click could have";
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(icon_->ClickPending());
    EXPECT_EQ(events_, std::vector<std::string>{At("down L 8")});
}

TEST_F(TrayMouseTest, ADoubleClickGivesOnDblClickAndNoClick) {
    int clicks = 0;
    int doubles = 0;
    icon_->OnClick = [&](TTrayIcon&) { ++clicks; };
    icon_->OnDblClick = [&](TTrayIcon& sender) {
        EXPECT_EQ(&sender, icon_.get());
        ++doubles;
    };
    Notify(WM_LBUTTONDOWN);
    Notify(WM_LBUTTONUP);
    Notify(WM_LBUTTONDBLCLK);
    Notify(WM_LBUTTONUP);
    EXPECT_EQ(doubles, 1);
    EXPECT_FALSE(icon_->ClickPending());
    // Well past the waiter's delay: still no single click.
    EXPECT_TRUE(HoldsFor([&] { return clicks == 0; }, PastTheWaiter()));
    EXPECT_EQ(doubles, 1);
}

TEST_F(TrayMouseTest, OnMouseUpTakesTheReleaseSoNoClickFollows) {
    int clicks = 0;
    int ups = 0;
    icon_->OnClick = [&](TTrayIcon&) { ++clicks; };
    icon_->OnMouseUp = [&](TTrayIcon&, MouseButton, ShiftState, int, int) { ++ups; };
    Notify(WM_LBUTTONDOWN);
    Notify(WM_LBUTTONUP);
    EXPECT_EQ(ups, 1);
    EXPECT_FALSE(icon_->ClickPending());
    EXPECT_TRUE(HoldsFor([&] { return clicks == 0; }, PastTheWaiter()));
}

TEST_F(TrayMouseTest, ADisabledIconIgnoresEverythingAndForgetsAPendingClick) {
    int clicks = 0;
    icon_->OnClick = [&](TTrayIcon&) { ++clicks; };
    Notify(WM_LBUTTONUP);
    ASSERT_TRUE(icon_->ClickPending());
    icon_->SetEnabled(false);
    EXPECT_FALSE(icon_->ClickPending());
    Notify(WM_LBUTTONDOWN);
    Notify(WM_MOUSEMOVE);
    Notify(WM_LBUTTONUP);
    EXPECT_FALSE(icon_->ClickPending());
    EXPECT_TRUE(HoldsFor([&] { return clicks == 0; }, PastTheWaiter()));
    EXPECT_TRUE(events_.empty());

    icon_->SetEnabled(true);
    Notify(WM_LBUTTONDOWN);
    EXPECT_EQ(events_, std::vector<std::string>{At("down L 8")});
}

TEST_F(TrayMouseTest, AnIconDestroyedWhileItsClickWaitsGetsNothing) {
    int clicks = 0;
    icon_->OnClick = [&](TTrayIcon&) { ++clicks; };
    Notify(WM_LBUTTONUP);
    ASSERT_TRUE(icon_->ClickPending());
    icon_.reset();
    // The waiter still posts its message; it must find no icon to call.
    EXPECT_TRUE(HoldsFor([&] { return clicks == 0; }, PastTheWaiter()));
    EXPECT_TRUE(errors_.Messages().empty());
}

TEST_F(TrayMouseTest, RightPressOpensTheMenuAtTheTaskbarInsteadOfMouseDown) {
    PopupMenu menu(owner_.Handle());
    menu.AddItem("One");
    menu.AddItem("Two");
    icon_->SetRBPopupMenu(&menu);
    MenuCloser closer;

    Notify(WM_RBUTTONDOWN);  // returns once the menu has closed
    EXPECT_EQ(closer.Seen(), 1);
    EXPECT_TRUE(events_.empty()) << "a press that opens a menu fired OnMouseDown";
    // Centred on the pointer's horizontal position.
    const RECT rect = closer.LastRect();
    EXPECT_NEAR((rect.left + rect.right) / 2, kCursorX, 3);

    icon_->SetAutoPopup(false);
    Notify(WM_RBUTTONDOWN);
    EXPECT_EQ(closer.Seen(), 1);
    EXPECT_EQ(events_, std::vector<std::string>{At("down R 16")});
}

TEST_F(TrayMouseTest, LeftPressOpensTheLeftMenu) {
    PopupMenu menu(owner_.Handle());
    menu.AddItem("One");
    icon_->SetLBPopupMenu(&menu);
    MenuCloser closer;
    Notify(WM_LBUTTONDOWN);
    EXPECT_EQ(closer.Seen(), 1);
    EXPECT_TRUE(events_.empty());
    // The right button has no menu of its own.
    Notify(WM_RBUTTONDOWN);
    EXPECT_EQ(closer.Seen(), 1);
    EXPECT_EQ(events_, std::vector<std::string>{At("down R 16")});
}

TEST_F(TrayMouseTest, TwoQuickPressesOpenTheMenuOnce) {
    PopupMenu menu(owner_.Handle());
    menu.AddItem("One");
    icon_->SetRBPopupMenu(&menu);
    MenuCloser closer;
    // The second press is handled while the first one readies its menu.
    PostMessageA(callback_, kTrayCallbackMessage, static_cast<WPARAM>(icon_->IconId()), WM_RBUTTONDOWN);
    Notify(WM_RBUTTONDOWN);
    EXPECT_EQ(closer.Seen(), 1) << "the menu opened again after it was closed";
    // The next press opens it again.
    Notify(WM_RBUTTONDOWN);
    EXPECT_EQ(closer.Seen(), 2);
}

TEST_F(TrayMouseTest, AMenuDestroyedMeanwhileIsNeverOpened) {
    auto menu = std::make_unique<PopupMenu>(owner_.Handle());
    menu->AddItem("One");
    icon_->SetRBPopupMenu(menu.get());
    menu.reset();
    MenuCloser closer;
    Notify(WM_RBUTTONDOWN);
    EXPECT_EQ(closer.Seen(), 0);
    EXPECT_EQ(events_, std::vector<std::string>{At("down R 16")});
}

TEST_F(TrayMouseTest, HandlerErrorsReachTheTopLevelHandler) {
    icon_->OnMouseDown = [](TTrayIcon&, MouseButton, ShiftState, int, int) {
        throw KestrinError("タスクトレイにアイコンを登録できません。");
    };
    Notify(WM_LBUTTONDOWN);
    ASSERT_EQ(errors_.Messages().size(), 1u);
    EXPECT_EQ(errors_.Messages()[0], "タスクトレイにアイコンを登録できません。");
    // The window goes on working.
    Notify(WM_MOUSEMOVE);
    EXPECT_EQ(events_, std::vector<std::string>{At("move 0")});
}

TEST_F(TrayMouseTest, ASecondIconSharesTheCallbackWindow) {
    TTrayIcon second(owner_);
    EXPECT_EQ(FindWindowExA(owner_.Handle(), callback_, "TCallbackWindow", nullptr), nullptr);
    int downs = 0;
    second.OnMouseDown = [&](TTrayIcon& sender, MouseButton, ShiftState, int, int) {
        EXPECT_EQ(&sender, &second);
        ++downs;
    };
    PostTrayNotification(callback_, static_cast<uint32_t>(second.IconId()), WM_LBUTTONDOWN);
    EXPECT_EQ(downs, 1);
    EXPECT_TRUE(events_.empty());
}

}  // namespace
