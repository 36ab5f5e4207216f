// Check boxes, push buttons and flat buttons: a click, however it comes,
// reaches the control's OnClick through the parent's routing.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "framework/button.h"
#include "framework/check_box.h"
#include "framework/edit.h"
#include "framework/flat_button.h"
#include "framework/panel.h"
#include "support/control_host.h"
#include "support/input.h"
#include "support/screenshot.h"
#include "support/test_icons.h"
#include "support/windows_find.h"

namespace kestrin {
namespace {

using test::ControlHost;
using test::PumpMessages;

TEST(CheckBox, ClickTicksAndFiresOnClick) {
    ControlHost host;
    CheckBox box(host.Handle(), {8, 8, 200, 17}, "ホットキーを使う");
    int clicks = 0;
    bool checkedInHandler = false;
    box.OnClick = [&] {
        ++clicks;
        checkedInHandler = box.Checked();
    };
    EXPECT_EQ(GetWindowLongA(box.Handle(), GWL_STYLE) & 0x0F, BS_AUTOCHECKBOX);
    EXPECT_FALSE(box.Checked());
    SendMessageA(box.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(box.Checked());
    EXPECT_TRUE(checkedInHandler) << "the handler sees the new state";
    SendMessageA(box.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(box.Checked());
}

TEST(CheckBox, PostedCommandIsRoutedThroughTheMessageLoop) {
    ControlHost host;
    CheckBox box(host.Handle(), {8, 8, 200, 17}, "x");
    int clicks = 0;
    box.OnClick = [&] { ++clicks; };
    PostMessageA(host.Handle(), WM_COMMAND, MAKEWPARAM(box.Id(), BN_CLICKED), reinterpret_cast<LPARAM>(box.Handle()));
    EXPECT_EQ(clicks, 0);
    PumpMessages();
    EXPECT_EQ(clicks, 1);
    // Other notifications of the button are not clicks.
    SendMessageA(host.Handle(), WM_COMMAND, MAKEWPARAM(box.Id(), BN_SETFOCUS), reinterpret_cast<LPARAM>(box.Handle()));
    EXPECT_EQ(clicks, 1);
}

TEST(CheckBox, SetCheckedFiresOnClickOnlyWhenTheStateChanges) {
    ControlHost host;
    CheckBox box(host.Handle(), {8, 8, 200, 17}, "x");
    int clicks = 0;
    box.OnClick = [&] { ++clicks; };
    box.SetChecked(false);
    EXPECT_EQ(clicks, 0);
    box.SetChecked(true);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(SendMessageA(box.Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    box.SetChecked(true);
    EXPECT_EQ(clicks, 1);
    box.SetChecked(false);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(SendMessageA(box.Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST(CheckBox, WithoutHandlerAClickStillTicks) {
    ControlHost host;
    CheckBox box(host.Handle(), {8, 8, 200, 17}, "x");
    SendMessageA(box.Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(box.Checked());
    box.SetChecked(false);
    EXPECT_FALSE(box.Checked());
}

TEST(CheckBox, InsideAPanelItsClickStillReachesIt) {
    ControlHost host;
    Panel panel(host.Handle(), {4, 4, 250, 60}, BevelCut::Lowered);
    CheckBox box(panel.Handle(), {8, 8, 200, 17}, "x");
    int clicks = 0;
    box.OnClick = [&] { ++clicks; };
    SendMessageA(box.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(host.Received(WM_COMMAND), 1) << "the panel passes the notification on to the form";
}

TEST(Button, ClickFiresOnClickAndCarriesFormFlags) {
    ControlHost host;
    Button ok(host.Handle(), {108, 164, 69, 23}, "OK");
    int clicks = 0;
    ok.OnClick = [&] { ++clicks; };
    EXPECT_EQ(GetWindowLongA(ok.Handle(), GWL_STYLE) & 0x0F, BS_PUSHBUTTON);
    EXPECT_EQ(ok.ModalResult(), 0);
    EXPECT_FALSE(ok.IsDefault());
    SendMessageA(ok.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);

    ok.SetModalResult(IDOK);
    ok.SetDefault(true);
    EXPECT_EQ(ok.ModalResult(), IDOK);
    EXPECT_TRUE(ok.IsDefault());
    EXPECT_EQ(GetWindowLongA(ok.Handle(), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON) << "drawn as the default button";
    ok.SetDefault(false);
    EXPECT_EQ(GetWindowLongA(ok.Handle(), GWL_STYLE) & 0x0F, BS_PUSHBUTTON);
    ok.Click();
    EXPECT_EQ(clicks, 2);
}

TEST(Button, DisabledButtonIgnoresClicks) {
    ControlHost host;
    Button button(host.Handle(), {8, 8, 69, 23}, "OK");
    int clicks = 0;
    button.OnClick = [&] { ++clicks; };
    button.SetEnabled(false);
    SendMessageA(button.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 0);
}

struct FlatButtonClicks : ::testing::Test {
    ControlHost host{373, 254};
    Edit field{host.Handle(), {160, 40, 28, 18}, "1"};
    FlatButton doButton{host.Handle(), {84, 217, 80, 25}, "OK(F9)"};
    int clicks = 0;

    void SetUp() override {
        doButton.OnClick = [this] { ++clicks; };
        host.ShowAndPaint();
        field.Focus();
    }

    POINT Centre() const {
        const RECT r = ControlHost::ScreenClientRect(doButton.Handle());
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    LPARAM ClientPoint(int x, int y) const { return MAKELPARAM(x, y); }
};

TEST_F(FlatButtonClicks, MouseClickFiresOnClickAndLeavesTheFocusAlone) {
    ASSERT_EQ(GetFocus(), field.Handle());
    const POINT centre = Centre();
    test::ClickAt(centre.x, centre.y);
    EXPECT_TRUE(test::WaitFor([&] { return clicks == 1; }, 5000));
    PumpMessages();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(GetFocus(), field.Handle()) << "a flat button never takes the keyboard focus";
}

TEST_F(FlatButtonClicks, PressAndReleaseInsideIsOneClick) {
    SendMessageA(doButton.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(10, 10));
    EXPECT_EQ(GetCapture(), doButton.Handle()) << "the press holds the mouse until release";
    EXPECT_EQ(clicks, 0) << "a press alone is no click";
    SendMessageA(doButton.Handle(), WM_LBUTTONUP, 0, ClientPoint(12, 11));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(GetFocus(), field.Handle());
}

TEST_F(FlatButtonClicks, ReleaseOutsideCancelsTheClick) {
    SendMessageA(doButton.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(10, 10));
    SendMessageA(doButton.Handle(), WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(200, 10));
    SendMessageA(doButton.Handle(), WM_LBUTTONUP, 0, ClientPoint(200, 10));
    EXPECT_EQ(clicks, 0);
    // Moving back inside before the release makes it a click again.
    SendMessageA(doButton.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(10, 10));
    SendMessageA(doButton.Handle(), WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(200, 10));
    SendMessageA(doButton.Handle(), WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(20, 10));
    SendMessageA(doButton.Handle(), WM_LBUTTONUP, 0, ClientPoint(20, 10));
    EXPECT_EQ(clicks, 1);
}

TEST_F(FlatButtonClicks, ReleaseWithoutPressIsNoClick) {
    SendMessageA(doButton.Handle(), WM_LBUTTONUP, 0, ClientPoint(10, 10));
    EXPECT_EQ(clicks, 0);
}

TEST_F(FlatButtonClicks, LosingTheMouseCaptureCancelsThePress) {
    SendMessageA(doButton.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(10, 10));
    ReleaseCapture();
    SendMessageA(doButton.Handle(), WM_LBUTTONUP, 0, ClientPoint(10, 10));
    EXPECT_EQ(clicks, 0);
}

TEST_F(FlatButtonClicks, BmClickAndClickWorkLikeAPushButtons) {
    const int commands = host.Received(WM_COMMAND);
    SendMessageA(doButton.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(host.Received(WM_COMMAND), commands + 1) << "BM_CLICK goes through the parent";
    doButton.Click();
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(host.Received(WM_COMMAND), commands + 1) << "Click() calls the handler directly";
}

TEST_F(FlatButtonClicks, DisabledFlatButtonIgnoresClicks) {
    doButton.SetEnabled(false);
    SendMessageA(doButton.Handle(), BM_CLICK, 0, 0);
    const int releases = host.Received(WM_LBUTTONUP);
    const POINT centre = Centre();
    test::ClickAt(centre.x, centre.y);
    // A second click, on the host's empty area: input is handled in order,
    // so once the host has a release the first click has been handled.
    POINT empty{300, 120};
    ClientToScreen(host.Handle(), &empty);
    test::ClickAt(empty.x, empty.y);
    ASSERT_TRUE(test::WaitFor([&] { return host.Received(WM_LBUTTONUP) > releases; }));
    EXPECT_EQ(clicks, 0);
}

TEST_F(FlatButtonClicks, HandlerMayDestroyTheButton) {
    // The OK button's handler may close the form that owns it.
    auto owned = std::make_unique<FlatButton>(host.Handle(), Bounds{208, 217, 80, 25}, "中止(F12)");
    owned->OnClick = [&] { owned.reset(); };
    HWND window = owned->Handle();
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(5, 5));
    SendMessageA(window, WM_LBUTTONUP, 0, ClientPoint(5, 5));
    EXPECT_EQ(owned, nullptr);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(FlatButtonClicks, IsPassedOverByDialogNavigation) {
    EXPECT_EQ(SendMessageA(doButton.Handle(), WM_GETDLGCODE, 0, 0) & DLGC_STATIC, DLGC_STATIC);
    EXPECT_FALSE(GetWindowLongA(doButton.Handle(), GWL_STYLE) & WS_TABSTOP);
}

TEST_F(FlatButtonClicks, GlyphAndCaptionArePainted) {
    auto normal = test::MakeSolidIcon(16, RGB(255, 0, 0));
    doButton.SetGlyph(normal.get());
    normal.reset();  // the button keeps its own copy
    host.ShowAndPaint();
    const RECT area = ControlHost::ScreenClientRect(doButton.Handle());
    auto shot = test::CaptureScreen(area);
    ASSERT_GT(shot.width, 0);
    size_t red = 0;
    for (uint32_t p : shot.pixels) red += (p == 0xFF0000);
    EXPECT_GE(red, 16u * 16u) << "the glyph shows in full";
    const uint32_t face = test::PixelOf(GetSysColor(COLOR_BTNFACE));
    const uint32_t text = test::PixelOf(GetSysColor(COLOR_BTNTEXT));
    size_t ink = 0;
    for (uint32_t p : shot.pixels) ink += (p == text);
    EXPECT_GT(ink, 10u) << "the caption is drawn";
    EXPECT_GT(test::PixelsUnlike(shot, face), red + ink - 1);
    test::SaveArtifact(shot, "flat_button_glyph");

    doButton.SetEnabled(false);
    host.ShowAndPaint();
    shot = test::CaptureScreen(area);
    red = 0;
    for (uint32_t p : shot.pixels) red += (p == 0xFF0000);
    EXPECT_EQ(red, 0u) << "disabled, the glyph is drawn greyed";
    test::SaveArtifact(shot, "flat_button_disabled");
}

}  // namespace
}  // namespace kestrin
