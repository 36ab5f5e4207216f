// The controller's pause outlasts the interval thread it was taken on: a
// thread started again while the About box is open (the settings confirmed
// from the tray menu under the box, a logoff cancelled after its query)
// stands still until the box closes, like the one it replaces.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "app/controller.h"
#include "settings/portable/shared_state.h"
#include "framework/application.h"
#include "support/app_fixture.h"
#include "support/input.h"
#include "support/window_actor.h"
#include "support/wine_paths.h"

namespace kestrin {
namespace {

using namespace test;

constexpr uint32_t kDue = 100000;  // seconds counted: a batch is due at once

struct Restart {
    const char* name;
    // Starts the thread again (on a thread of the test while the box is open,
    // or on the main thread).
    void (*run)(TMemCMain& main);
};

const Restart kRestarts[] = {
    {"SettingsConfirmed",
     [](TMemCMain& main) {
         WindowActor confirm("TPropForm", [](HWND) { SendKey(VK_F9); });
         App().Synchronize([&] { main.SetPropClick(); });
     }},
    {"LogoffCancelled",
     [](TMemCMain& main) {
         SendMessageA(main.Handle(), WM_QUERYENDSESSION, 0, 0);
         SendMessageA(main.Handle(), WM_ENDSESSION, FALSE, 0);
     }},
};

class ControllerPauseTest : public AppTest, public ::testing::WithParamInterface<Restart> {
protected:
    void TearDown() override {
        DeleteFileA(ini_.c_str());
        AppTest::TearDown();
    }
    const std::string ini_ = DocumentsFolder() + "\\kestrin_win_tests.ini";
};

TEST_P(ControllerPauseTest, AThreadStartedAgainUnderTheAboutBoxIsHeldUntilItCloses) {
    WriteFileBytes(ini_, "[Settings]\r\nTimer=1\r\nCounter=1\r\nMsgBox=0\r\n");
    SharedState state;
    TMemCMain main(state, {});
    main.Create();
    ASSERT_TRUE(main.HasIntervalThread());

    bool restarted = false;
    bool heldUnderBox = false;
    uint32_t secondsAtClose = 0;
    WindowActor act("TAboutBox", [&](HWND box) {
        // The paused thread counts nothing: only a new one starts from 0.
        state.SecondsElapsed = kDue;
        GetParam().run(main);
        restarted = main.HasIntervalThread() && state.SecondsElapsed < kDue;
        state.SecondsElapsed = kDue;
        // Neither counted nor reset by a batch: held.
        heldUnderBox = HoldsFor([&] { return state.SecondsElapsed == kDue; }, 2500, Pump::None);
        secondsAtClose = state.SecondsElapsed;
        PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    main.VerDispClick();

    ASSERT_TRUE(act.Acted());
    EXPECT_TRUE(restarted) << "no new thread";
    EXPECT_TRUE(heldUnderBox) << "the new thread ran under the About box";
    EXPECT_EQ(secondsAtClose, kDue) << "a batch ran under the About box";
    ASSERT_TRUE(main.HasIntervalThread());
    EXPECT_TRUE(WaitFor([&] { return state.SecondsElapsed != kDue; })) << "counting again after the box";
    // With the box gone, nothing of its pause is left for the next thread.
    GetParam().run(main);
    ASSERT_TRUE(main.HasIntervalThread());
    EXPECT_TRUE(WaitFor([&] { return state.SecondsElapsed != 0; })) << "a thread started after the box is paused";
    EXPECT_TRUE(errors_.empty());
    main.Destroy();
}

INSTANTIATE_TEST_SUITE_P(EveryRestart, ControllerPauseTest, ::testing::ValuesIn(kRestarts),
                         [](const ::testing::TestParamInfo<Restart>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kestrin
