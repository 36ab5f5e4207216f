// What the resident program holds while it waits in the tray: its main
// thread and the interval thread's wait, no menu, and neither the common
// controls library nor COM. Each use takes what it needs (the animation its
// worker thread and frames, a dialog its controls) and gives it back when it
// ends.
#include <windows.h>
#include <gtest/gtest.h>

#include "support/child_process.h"
#include "support/gui_objects.h"
#include "support/kestrin_env.h"
#include "support/kestrin_process.h"
#include "support/process_resources.h"
#include "support/resident_fixture.h"
#include "support/wait.h"
#include "support/windows_find.h"

using namespace kestrin::test;

namespace {

class FootprintE2E : public ResidentFixture {
protected:
    void SetUp() override { StartWithHotKey(60); }  // an interval that does not come during the test
    // The idle footprint: back to it within the wait, or a failure saying what stayed.
    // (COM is checked only before the first dialog: Wine's input method
    // loads it for good when a window of the program is first activated.)
    void ExpectIdle(const char* after, bool withoutCom) {
        const DWORD id = k_->ProcessId();
        EXPECT_TRUE(WaitFor([&] { return ReadProcessResources(id).threads == kIdleThreads; }))
            << "a thread stayed after " << after;
        EXPECT_TRUE(WaitFor([&] { return !HasModule(id, "comctl32.dll"); })) << "comctl32 stayed after " << after;
        if (withoutCom) {
            EXPECT_FALSE(HasModule(id, "ole32.dll")) << "after " << after;
        }
        // No menu at all: the tray menu exists only while it is open, and
        // the hidden windows have no system menus (Wine would make them and
        // keep them).
        const auto objects = ReadUserObjects(id);
        ASSERT_TRUE(objects.has_value());
        EXPECT_EQ(objects->menus, 0) << "after " << after;
    }
    static constexpr long kIdleThreads = 2;  // the main thread and the interval thread
};

}  // namespace

TEST_F(FootprintE2E, EachUseGivesBackWhatItTook) {
    ExpectIdle("the start", true);

    // A hot-key pass, with its animation from a worker thread.
    PressHotKey();
    ASSERT_TRUE(k_->WaitForLines("animation stop", 1, kGenerousMs)) << ::testing::PrintToString(k_->Lines());
    ExpectIdle("the animation", true);

    for (const MenuDialog& dialog : TrayMenuDialogs()) {
        HWND window = OpenFromTrayMenu(k_->ProcessId(), callback_, dialog);
        ASSERT_NE(window, nullptr) << dialog.className;
        // Its controls hold the library while it is open.
        EXPECT_TRUE(HasModule(k_->ProcessId(), "comctl32.dll")) << dialog.className;
        ASSERT_TRUE(CloseWithCloseBox(k_->ProcessId(), window, dialog)) << dialog.className;
        ExpectIdle(dialog.className, false);
    }
}

// Idle in the tray, the program holds no more private memory than the
// smallest tray program does (one window, one icon, a message loop) and
// a third of it: under Wine each thread starts with about 1 MB of its stack
// written, and the program's two threads give that back.
TEST_F(FootprintE2E, IdleHoldsAboutWhatTheSmallestTrayProgramHolds) {
    ChildProcess peer(Quoted(std::string(KESTRIN_BUILD_DIR) + "/peers/tray_program.exe"));
    ASSERT_TRUE(peer.Started());
    HWND peerWindow = WaitForWindow("KestrinTrayPeer", nullptr, kGenerousMs, peer.ProcessId());
    DWORD_PTR answer = 0;
    // It answers once it is in its message loop, its icon added.
    ASSERT_TRUE(peerWindow && SendMessageTimeoutA(peerWindow, WM_NULL, 0, 0, SMTO_BLOCK, kGenerousMs, &answer));
    const uint64_t peerBytes = ReadProcessResources(peer.ProcessId()).privateBytes;
    ASSERT_GT(peerBytes, 0u);

    ExpectIdle("the start", true);
    const uint64_t kestrinBytes = ReadProcessResources(k_->ProcessId()).privateBytes;
    EXPECT_LE(kestrinBytes * 10, peerBytes * 13)
        << "Kestrin " << kestrinBytes / 1024 << " KB, the tray program " << peerBytes / 1024 << " KB";
    PostMessageA(peerWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(peer.WaitForExit(kGenerousMs));
}
