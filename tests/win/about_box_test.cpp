// The version dialog as a real window: its layout and texts, the painted
// links, Enter, and the interval thread held while it is open.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

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

// A label of the box by its text, as the user reads it (on Panel1).
HWND LabelOf(HWND box, const char* text) {
    return FindWindowExA(FindWindowExA(box, nullptr, "KestrinPanel", nullptr), nullptr, "KestrinLabel", text);
}

// Whether the pointer resting on a point of the box shows that hint.
bool ShowsHintAt(HWND box, int x, int y, const std::string& hint) {
    POINT p{x, y};
    ClientToScreen(box, &p);
    test::MoveMouseTo(p.x - 30, p.y + 40);
    test::MoveMouseTo(p.x, p.y);
    return WaitFor([&] {
        const HWND tip = test::FindTopLevelWindow(TOOLTIPS_CLASSA, nullptr, GetCurrentProcessId(), true);
        return tip && TextOf(tip) == hint;
    });
}

TEST_F(AboutBoxTest, LayoutTextsAndLinks) {
    auto about = MakeForm<TAboutBox>();
    HWND window = about->Handle();
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 284);
    EXPECT_EQ(client.bottom, 200);
    EXPECT_EQ(TextOf(window), "バージョン情報");
    EXPECT_NE(LabelOf(window, "Kestrin Ver.1.56"), nullptr);
    const HWND copyright = LabelOf(window, ProductCopyright);
    ASSERT_NE(copyright, nullptr);
    {
        // Neither line wraps in the 242-pixel label: two lines, no third.
        WindowDC dc(copyright);
        SelectGuard font(dc.get(), reinterpret_cast<HFONT>(SendMessageA(copyright, WM_GETFONT, 0, 0)));
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc.get(), &metrics);
        RECT need{0, 0, 242, 0};
        DrawTextA(dc.get(), ProductCopyright, -1, &need, DT_CALCRECT | DT_WORDBREAK);
        EXPECT_EQ(need.bottom, 2 * metrics.tmHeight);
    }
    const HWND comments = LabelOf(window, "本ソフトウェアは無料ソフトウェアです。");
    ASSERT_NE(comments, nullptr);

    about->Show();
    about->Update();
    // Neither link has a hint of its own: both show their whole target.
    EXPECT_TRUE(ShowsHintAt(window, 7 + 38 + 10, 8 + 116 + 8, "mailto:support@kestrin.example"));
    EXPECT_TRUE(ShowsHintAt(window, 7 + 164 + 10, 8 + 116 + 8, "http://www.kestrin.example/"));
    test::MoveMouseTo(5, 5);

    const test::Capture shot = test::CaptureScreen(ScreenRect(window));
    test::SaveArtifact(shot, "about_box");
    // Blue ink for the bold remark and both links.
    size_t blue = 0;
    for (uint32_t p : shot.pixels) blue += p == PixelOf(0xFF0000);
    EXPECT_GT(blue, 300u);
    // The remark's blue begins where its line, centred, does.
    const test::Capture remark = test::CaptureScreen(ScreenRect(comments));
    SIZE line{};
    {
        WindowDC dc(comments);
        SelectGuard font(dc.get(), reinterpret_cast<HFONT>(SendMessageA(comments, WM_GETFONT, 0, 0)));
        const std::string text = TextOf(comments);
        GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &line);
    }
    int left = remark.width, right = -1;
    for (int y = 0; y < remark.height; ++y)
        for (int x = 0; x < remark.width; ++x)
            if (remark.At(x, y) == PixelOf(0xFF0000)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GE(right, 0) << "the remark is not blue";
    EXPECT_LE(std::abs(left - (remark.width - line.cx) / 2), 2);
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
    ASSERT_TRUE(main.HasIntervalThread());
    bool heldWhileOpen = false;
    test::WindowActor check("TAboutBox", [&](HWND) {
        // The count stands still (once a second under way has ended).
        heldWhileOpen = WaitFor([&] {
            const uint32_t seconds = state.SecondsElapsed;
            return test::HoldsFor([&] { return state.SecondsElapsed == seconds; }, 2500, test::Pump::None);
        }, test::kGenerousMs, test::Pump::None);
        test::SendKey(VK_RETURN);
    });
    main.VerDispClick();
    EXPECT_TRUE(check.Acted());
    EXPECT_TRUE(heldWhileOpen);
    const uint32_t atClose = state.SecondsElapsed;
    EXPECT_TRUE(WaitFor([&] { return state.SecondsElapsed != atClose; })) << "counting again after the box";
    EXPECT_TRUE(WaitFor([] { return FindWindowA("TAboutBox", nullptr) == nullptr; })) << "released";
    main.Destroy();
    DeleteFileA(ini.c_str());
}

}  // namespace
}  // namespace kestrin
