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
