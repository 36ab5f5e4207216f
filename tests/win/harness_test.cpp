// The run-time the Windows tests rely on: Japanese ANSI code page and a
// virtual desktop with a taskbar and notification area.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/windows_find.h"

using namespace kestrin::test;

TEST(Harness, AnsiCodePageIsShiftJis) { EXPECT_EQ(GetACP(), 932u); }

TEST(Harness, TaskbarWithNotificationAreaExists) {
    // The desktop's explorer may still be starting when the first test runs.
    HWND taskbar = WaitForWindow("Shell_TrayWnd", nullptr, 10000);
    if (!taskbar) {
        for (const auto& w : TopLevelWindows()) ADD_FAILURE() << w.className << " / " << w.caption;
    }
    ASSERT_NE(taskbar, nullptr);
}

namespace {

// The face and the line height the system gives for a font asked by name.
std::pair<std::string, LONG> SeenFont(const char* face, int height, BYTE charset) {
    HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset, 0, 0, 0, 0, face);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    char name[LF_FACESIZE] = {};
    GetTextFaceA(dc, sizeof name, name);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return {name, metrics.tmHeight};
}

}  // namespace

// The title bars' buttons are drawn with Marlett: without it a dialog's close
// box shows the letter "r" in every screenshot.
TEST(Harness, TitleBarButtonsHaveTheirSymbolFont) { EXPECT_EQ(SeenFont("Marlett", -13, SYMBOL_CHARSET).first, "Marlett"); }

// The program's font stands on a replacement with the original's 12-pixel
// lines: with 13 the last line of a label laid out for 12 loses its lowest
// row in every screenshot (the About box's copyright).
TEST(Harness, UiFontLinesAreTwelvePixelsApart) { EXPECT_EQ(SeenFont("ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET).second, 12); }
