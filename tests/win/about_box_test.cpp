// The version dialog as a real window: its layout and texts, the painted
// links, Enter, and the interval thread held while it is open.
#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/interval_thread.h"
#include "app/controller.h"
#include "settings/portable/product.h"
#include "settings/portable/shared_state.h"
#include "dialogs/about_box.h"
#include "support/app_fixture.h"
#include "support/wait.h"
#include "support/input.h"
#include "support/screenshot.h"
#include "support/test_icons.h"
#include "support/wine_paths.h"
#include "support/window_actor.h"
#include "support/windows_find.h"

namespace kestrin {
namespace {

using test::AppTest;
using test::PixelOf;
using test::TextOf;
using test::WaitFor;

RECT ScreenRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

using AboutBoxTest = AppTest;

TEST_F(AboutBoxTest, LayoutTextsAndLinks) {
    auto about = MakeForm<TAboutBox>();
    HWND window = about->Handle();
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 284);
    EXPECT_EQ(client.bottom, 200);
    EXPECT_EQ(TextOf(window), "バージョン情報");
    EXPECT_EQ(about->ProductName().Text(), "Kestrin Ver.1.56");
    EXPECT_EQ(about->Copyright().Text(), ProductCopyright);
    {
        // Neither line wraps in the 242-pixel label: two lines, no third.
        WindowDC dc(about->Copyright().Handle());
        SelectGuard font(dc.get(), about->Copyright().Font());
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc.get(), &metrics);
        RECT need{0, 0, 242, 0};
        DrawTextA(dc.get(), ProductCopyright, -1, &need, DT_CALCRECT | DT_WORDBREAK);
        EXPECT_EQ(need.bottom, 2 * metrics.tmHeight);
    }
    EXPECT_EQ(about->Comments().Text(), "本ソフトウェアは無料ソフトウェアです。");
    EXPECT_EQ(about->Comments().Color(), 0xFF0000u);
    EXPECT_EQ(about->Comments().Alignment(), TextAlignment::Center);
    EXPECT_EQ(about->HyperLink1().Target(), "mailto:support@kestrin.example");
    EXPECT_EQ(about->HyperLink2().Target(), "http://www.kestrin.example/");
    EXPECT_EQ(about->HyperLink1().LinkMenu().ItemCount(), 1) << "loaded with the form: the copy item";

    about->Show();
    about->Update();
    ASSERT_TRUE(WaitFor([&] { return about->HyperLink2().Hint() != ""; }));
    // Neither link has a hint of its own: both show their whole target.
    EXPECT_EQ(about->HyperLink1().Hint(), "mailto:support@kestrin.example");
    EXPECT_EQ(about->HyperLink2().Hint(), "http://www.kestrin.example/");

    const test::Capture shot = test::CaptureScreen(ScreenRect(window));
    test::SaveArtifact(shot, "about_box");
    // Blue ink for the bold remark and both links.
    size_t blue = 0;
    for (uint32_t p : shot.pixels) blue += p == PixelOf(0xFF0000);
    EXPECT_GT(blue, 300u);
    ReleaseForm(std::move(about));
}

// The controller's menu item: the interval thread stands at its safe point
// while the box is open, and counts again once it is closed.
TEST_F(AboutBoxTest, TheIntervalThreadIsHeldWhileItIsOpen) {
    const std::string ini = test::DocumentsFolder() + "\\kestrin_win_tests.ini";
    test::WriteFileBytes(ini, "[Settings]\r\nTimer=1\r\n");
    SharedState state;
    TMemCMain main(state, {});
    main.Create();
    ASSERT_NE(main.IntervalThread(), nullptr);
    bool heldWhileOpen = false;
    test::WindowActor check("TAboutBox", [&](HWND) {
        const DWORD start = GetTickCount();
        while (!main.IntervalThread()->HeldByPause() && GetTickCount() - start < 5000) Sleep(10);
        heldWhileOpen = main.IntervalThread()->HeldByPause();
        test::SendKey(VK_RETURN);
    });
    main.VerDispClick();
    EXPECT_TRUE(check.Acted());
    EXPECT_TRUE(heldWhileOpen);
    EXPECT_FALSE(main.IntervalThread()->Paused()) << "counting again after the box";
    EXPECT_TRUE(WaitFor([] { return FindWindowA("TAboutBox", nullptr) == nullptr; })) << "released";
    main.Destroy();
    DeleteFileA(ini.c_str());
}

}  // namespace
}  // namespace kestrin
