// The run-time the Windows tests rely on: Japanese ANSI code page and a
// virtual desktop with a taskbar and notification area.
#include <windows.h>
#include <gtest/gtest.h>

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

// The title bars' buttons are drawn with Marlett: without it a dialog's close
// box shows the letter "r" in every screenshot.
TEST(Harness, TitleBarButtonsHaveTheirSymbolFont) {
    HFONT font = CreateFontA(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SYMBOL_CHARSET, 0, 0, 0, 0, "Marlett");
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, sizeof face, face);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    EXPECT_STREQ(face, "Marlett");
}
