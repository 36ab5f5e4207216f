// What the user sees of Kestrin's work: the start-up splash, the completion
// notice after passes the user started, and the tray animation of automatic
// ones. Read from the real windows of the real program.
#include <gtest/gtest.h>

#include "support/input.h"
#include "support/kestrin_env.h"
#include "support/kestrin_process.h"
#include "support/screenshot.h"
#include "support/windows_find.h"

using namespace kestrin::test;

namespace {

class FeedbackE2E : public ::testing::Test {
protected:
    void SetUp() override { RemoveIni(); }
    void TearDown() override { RemoveIni(); }

    static void Close(KestrinProcess& k) {
        HWND controller = WaitForController(k);
        ASSERT_NE(controller, nullptr);
        PostMessageA(controller, WM_CLOSE, 0, 0);
        ASSERT_TRUE(k.WaitForExit(15000));
    }

    // The client area of a banner (splash or notice) once the screen shows
    // its icon (the yellow arrow) and its text (black ink right of the
    // icon's panel): the program paints it as it shows it, the screen
    // catches up a moment later.
    static Capture PaintedBanner(const RECT& client) {
        Capture shot;
        const bool painted = WaitFor([&] {
            shot = CaptureScreen(client);
            bool arrow = false;
            bool ink = false;
            for (int y = 0; y < shot.height; ++y) {
                for (int x = 0; x < shot.width; ++x) {
                    arrow |= shot.At(x, y) == 0xFFFF00;
                    ink |= x >= 60 && shot.At(x, y) == 0x000000;
                }
            }
            return arrow && ink;
        });
        EXPECT_TRUE(painted) << "the screen never showed the icon and the text";
        return shot;
    }

    static size_t IndexOf(const std::vector<std::string>& lines, const std::string& text, size_t from = 0) {
        for (size_t i = from; i < lines.size(); ++i)
            if (lines[i].find(text) != std::string::npos) return i;
        return std::string::npos;
    }
};

}  // namespace

TEST_F(FeedbackE2E, ResidentStartShowsTheSplashThenLeavesNoTaskbarButton) {
    KestrinProcess k;
    HWND splash = WaitForShownWindow("TSS", "SS", 15000, k.ProcessId());
    ASSERT_NE(splash, nullptr) << "no splash during start-up";
    WindowInfo info = DescribeWindow(splash);
    EXPECT_TRUE(info.visible);
    // The system adds WS_CLIPSIBLINGS to every top-level window and
    // WS_EX_WINDOWEDGE to a dialog frame; the rest is exactly ours.
    EXPECT_EQ(static_cast<DWORD>(info.style) & ~static_cast<DWORD>(WS_VISIBLE | WS_CLIPSIBLINGS), 0x80400000u);
    EXPECT_EQ(static_cast<DWORD>(info.exStyle) & ~static_cast<DWORD>(WS_EX_WINDOWEDGE),
              static_cast<DWORD>(WS_EX_TOPMOST));
    EXPECT_EQ(info.clientRect.right - info.clientRect.left, 239);
    EXPECT_EQ(info.clientRect.bottom - info.clientRect.top, 59);
    Capture shot = PaintedBanner(info.clientRect);
    SaveArtifact(shot, "e2e_splash");
    EXPECT_GE(DistinctColours(shot), 6u) << "the splash shows no icon or text";
    ASSERT_TRUE(k.WaitForLines("resident", 1, 15000));
    EXPECT_TRUE(WaitForWindowGone("TSS", 5000, k.ProcessId())) << "the splash stayed";
    // The application window is hidden and a tool window: no taskbar button.
    bool sawApplicationWindow = false;
    for (const WindowInfo& w : TopLevelWindows(k.ProcessId())) {
        if (w.className != "TApplication") continue;
        sawApplicationWindow = true;
        EXPECT_FALSE(w.visible);
        EXPECT_TRUE(w.exStyle & WS_EX_TOOLWINDOW);
    }
    EXPECT_TRUE(sawApplicationWindow);
    for (const WindowInfo& w : TopLevelWindows(k.ProcessId()))
        EXPECT_FALSE(w.visible && w.className != "TSS") << "visible window " << w.className;
    Close(k);
}

TEST_F(FeedbackE2E, OneShotModeNeverShowsTheSplash) {
    WriteIni({"Timer=0", "MsgBox=0"});
    KestrinProcess k("/n");
    bool splashSeen = false;
    while (k.Running() && !k.WaitForExit(50))
        splashSeen |= WaitForWindow("TSS", nullptr, 0, k.ProcessId()) != nullptr;
    EXPECT_FALSE(splashSeen);
    EXPECT_EQ(k.CountLines("pass end"), 1u);
}

TEST_F(FeedbackE2E, TrayClickWithDefaultsShowsTheNoticeForAboutASecond) {
    auto k = std::make_unique<KestrinProcess>();
    ASSERT_TRUE(k->WaitForLines("resident", 1, 20000));
    PostTrayMessage(CallbackWindow(WaitForController(*k)), WM_LBUTTONDOWN);
    HWND notice = WaitForShownWindow("TNoticeForm", "NoticeForm", 10000, k->ProcessId());
    ASSERT_NE(notice, nullptr) << "no completion notice";
    WindowInfo info = DescribeWindow(notice);
    EXPECT_TRUE(info.visible);
    EXPECT_TRUE(info.exStyle & WS_EX_TOPMOST);
    EXPECT_EQ(info.clientRect.right - info.clientRect.left, 234);
    EXPECT_EQ(info.clientRect.bottom - info.clientRect.top, 65);
    // Painted once at creation, with no messages handled during its second:
    // what shows once it is on the screen is all it shows.
    Capture shot = PaintedBanner(info.clientRect);
    SaveArtifact(shot, "e2e_notice");
    EXPECT_GE(DistinctColours(shot), 6u) << "the notice shows no icon or text";
    EXPECT_TRUE(WaitForWindowGone("TNoticeForm", 10000, k->ProcessId())) << "the notice stayed";
    Close(*k);
}

TEST_F(FeedbackE2E, BatchShowsTheNoticeOnlyAfterItsLastPass) {
    WriteIni({"ManOnce=0", "Counter=3"});
    KestrinProcess k;
    ASSERT_TRUE(k.WaitForLines("resident", 1, 20000));
    PostTrayMessage(CallbackWindow(WaitForController(k)), WM_LBUTTONDOWN);
    ASSERT_TRUE(k.WaitForLines("notice shown", 1, 20000));
    const auto lines = k.Lines();
    size_t passes = 0;
    for (const auto& l : lines) passes += l.find("pass end") != std::string::npos;
    EXPECT_EQ(passes, 2u) << "the notice came before the third pass ended";
    EXPECT_TRUE(k.WaitForLines("pass end", 3, 10000));
    EXPECT_EQ(k.CountLines("notice shown"), 1u);
    // A second click starts a new round of three.
    ASSERT_TRUE(WaitForWindowGone("TNoticeForm", 10000, k.ProcessId()));
    PostTrayMessage(CallbackWindow(WaitForController(k)), WM_LBUTTONDOWN);
    EXPECT_TRUE(k.WaitForLines("pass end", 6, 20000));
    EXPECT_EQ(k.CountLines("notice shown"), 2u);
    Close(k);
}

TEST_F(FeedbackE2E, NoNoticeWhenNoticesAreOff) {
    WriteIni({"MsgBox=0"});
    KestrinProcess k;
    ASSERT_TRUE(k.WaitForLines("resident", 1, 20000));
    HWND callback = CallbackWindow(WaitForController(k));
    PostTrayMessage(callback, WM_LBUTTONDOWN);
    ASSERT_TRUE(k.WaitForLines("pass end", 1, 20000));
    HWND menu = OpenTrayMenu(k, callback);  // after the click's handler has returned
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(k.CountLines("notice shown"), 0u);
    EXPECT_EQ(WaitForWindow("TNoticeForm", nullptr, 0, k.ProcessId()), nullptr);
    EXPECT_TRUE(CloseMenu(menu));
    Close(k);
}

TEST_F(FeedbackE2E, HotKeyPassWithAnIntervalAnimatesThenShowsTheNotice) {
    WriteIni({"UseHK=1", "HKShifts=3", "HKChar=77"});
    KestrinProcess k;
    ASSERT_TRUE(k.WaitForLines("resident", 1, 20000));
    SendKeyChord({VK_CONTROL, VK_MENU}, 'M');
    ASSERT_TRUE(k.WaitForLines("notice shown", 1, 20000));
    const auto lines = k.Lines();
    const size_t start = IndexOf(lines, "animation start");
    const size_t stop = IndexOf(lines, "animation stop");
    const size_t notice = IndexOf(lines, "notice shown");
    ASSERT_NE(start, std::string::npos) << "the automatic ending did not animate";
    ASSERT_NE(stop, std::string::npos);
    EXPECT_LT(start, stop);
    EXPECT_LT(stop, notice);
    EXPECT_EQ(k.CountLines("notice shown"), 1u) << "only the hot key's own notice";
    Close(k);
}

TEST_F(FeedbackE2E, PassNestedInTheBatchNoticeGetsItsOwnNoticeAndBothGo) {
    // A batch of one: its notice waits with messages handled, so a second
    // click during that second starts a nested pass with a notice of its own.
    WriteIni({"ManOnce=0", "Counter=1", "Timer=0"});
    KestrinProcess k;
    ASSERT_TRUE(k.WaitForLines("resident", 1, 20000));
    HWND callback = CallbackWindow(WaitForController(k));
    PostTrayMessage(callback, WM_LBUTTONDOWN);
    ASSERT_TRUE(k.WaitForLines("notice shown", 1, 20000));
    PostTrayMessage(callback, WM_LBUTTONDOWN);
    EXPECT_TRUE(k.WaitForLines("notice shown", 2, 20000)) << "the nested pass showed no notice";
    EXPECT_TRUE(k.WaitForLines("pass end", 2, 20000));
    EXPECT_TRUE(WaitForWindowGone("TNoticeForm", 10000, k.ProcessId())) << "a notice was never released";
    EXPECT_TRUE(k.Running());
    Close(k);
    EXPECT_EQ(k.ExitCode(), 0u);
}
