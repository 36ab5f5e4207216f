// The whole pass as the controller calls it: failures, and the two ways a
// pass ends (the notice for user passes, the animation for automatic ones).
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/portable/compaction_pass.h"
#include "fake_process_system.h"
#include "win32/portable/error.h"

namespace kestrin {
namespace {

using fakes::FakeProcessSystem;
using Log = std::vector<std::string>;

class FakeHost : public PassHost {
public:
    explicit FakeHost(SharedState& state) : state_(state) {}

    bool IsIntervalThread = false;
    bool IntervalThreadExists = true;
    bool IsAnimating = false;
    bool NoticeThrows = false;
    Log Calls;
    uint32_t SecondsAtResume = 0xFFFFFFFF;

    bool OnIntervalThread() override { return IsIntervalThread; }
    bool HasIntervalThread() override {
        // On the interval thread this would read the controller's pointer to
        // the very thread that asks: a race with the main thread.
        if (IsIntervalThread) Calls.push_back("thread pointer read from its own thread");
        return IntervalThreadExists;
    }
    void PauseInterval() override { Calls.push_back("pause"); }
    void ResumeInterval() override {
        Calls.push_back("resume");
        SecondsAtResume = state_.SecondsElapsed;
    }
    void ShowNotice(bool handleMessages) override {
        Calls.push_back(handleMessages ? "notice+messages" : "notice");
        if (NoticeThrows) throw KestrinError("notice failed");
    }
    bool Animating() override { return IsAnimating; }
    void StartAnimation() override { Calls.push_back("start"); }
    void StopAnimation() override { Calls.push_back("stop"); }
    void Sleep(uint32_t ms) override {
        Calls.push_back("sleep " + std::to_string(ms));
        state_.SecondsElapsed = 7;  // the interval thread keeps counting meanwhile
    }
    void FailPass(const std::string& message) override { Calls.push_back("fail " + message); }

private:
    SharedState& state_;
};

class PassEnding : public ::testing::Test {
protected:
    PassEnding() {
        system.ReportedIds = {4, 8};
        state.SecondsElapsed = 123;
    }
    void Pass() { Compact(system, host, state); }

    FakeProcessSystem system;
    SharedState state;
    FakeHost host{state};
};

// ---- failures ----

TEST_F(PassEnding, FailedEnumerationReportsAndSkipsEveryEndingStep) {
    system.EnumFails = true;
    state.ManualRequest = true;
    state.NoticeRound = 2;
    Pass();
    EXPECT_EQ(host.Calls, (Log{"fail EnumProcessesに失敗しました。"}));
    EXPECT_EQ(state.SecondsElapsed, 123u);
    EXPECT_TRUE(state.ManualRequest);
    EXPECT_EQ(state.NoticeRound, 2);
}

TEST_F(PassEnding, EmptyProcessListReportsAndSkipsEveryEndingStep) {
    system.ReportedIds.clear();
    Pass();
    EXPECT_EQ(host.Calls, (Log{"fail このシステムでは、プロセスは１つも動いてません。"}));
    EXPECT_EQ(state.SecondsElapsed, 123u);
}

TEST_F(PassEnding, EveryPassOfABatchReportsItsOwnFailure) {
    system.EnumFails = true;
    for (int i = 0; i < 3; ++i) Pass();
    EXPECT_EQ(host.Calls, Log(3, "fail EnumProcessesに失敗しました。"));
}

TEST_F(PassEnding, VanishingProcessesAreNoFailure) {
    system.Processes[4] = fakes::FakeProcess{.NameFails = true};
    system.Processes[8] = fakes::FakeProcess{.SecondInfoFails = true};
    Pass();
    EXPECT_EQ(host.Calls, (Log{"start", "sleep 1500", "stop"}));
}

// ---- the user way ----

TEST_F(PassEnding, TrayClickWithManualOnceShowsTheNoticeWithTheIntervalPaused) {
    state.ManualRequest = true;
    Pass();
    EXPECT_EQ(host.Calls, (Log{"pause", "notice", "resume"}));
    EXPECT_FALSE(state.ManualRequest);
    EXPECT_EQ(host.SecondsAtResume, 0u);  // the count restarts before the thread goes on
    EXPECT_EQ(state.SecondsElapsed, 0u);
    EXPECT_EQ(state.NoticeRound, 1);
}

TEST_F(PassEnding, WithoutIntervalThreadNothingIsPausedOrResumed) {
    host.IntervalThreadExists = false;
    state.AppSettings.IntervalMinutes = 0;
    Pass();
    EXPECT_EQ(host.Calls, (Log{"notice"}));
    EXPECT_EQ(state.SecondsElapsed, 0u);
}

TEST_F(PassEnding, ZeroIntervalEndsTheUserWayWithoutATrayClick) {
    host.IntervalThreadExists = false;
    state.AppSettings.IntervalMinutes = 0;
    state.AppSettings.ManualOnce = false;
    state.AppSettings.PassCount = 1;
    Pass();
    EXPECT_EQ(host.Calls, (Log{"notice+messages"}));
    EXPECT_FALSE(state.ManualRequest);
}

TEST_F(PassEnding, BatchShowsTheNoticeOnlyAfterItsLastPass) {
    state.AppSettings.ManualOnce = false;
    state.AppSettings.PassCount = 3;
    state.ManualRequest = true;

    Pass();
    EXPECT_EQ(host.Calls, (Log{"pause", "resume"}));
    EXPECT_EQ(state.NoticeRound, 2);
    EXPECT_TRUE(state.ManualRequest);

    Pass();
    EXPECT_EQ(state.NoticeRound, 3);
    EXPECT_TRUE(state.ManualRequest);

    host.Calls.clear();
    Pass();
    EXPECT_EQ(host.Calls, (Log{"pause", "notice+messages", "resume"}));
    EXPECT_EQ(state.NoticeRound, 1);
    EXPECT_FALSE(state.ManualRequest);
}

// The batch ends once the round reaches the count, also when the count was
// lowered under a batch already further on, or is zero or less.
TEST_F(PassEnding, BatchEndsWhenTheRoundReachesOrPassesThePassCount) {
    struct Case {
        int32_t PassCount, RoundBefore;
        bool Notice;
        int32_t RoundAfter;
    };
    for (const Case c : {Case{3, 2, false, 3}, Case{3, 3, true, 1}, Case{2, 3, true, 1},
                         Case{1, 5, true, 1}, Case{0, 1, true, 1}, Case{-4, 1, true, 1}}) {
        SCOPED_TRACE(testing::Message() << "PassCount " << c.PassCount << ", round " << c.RoundBefore);
        host.Calls.clear();
        state.AppSettings.ManualOnce = false;
        state.AppSettings.PassCount = c.PassCount;
        state.NoticeRound = c.RoundBefore;
        state.ManualRequest = true;
        Pass();
        const Log expected = c.Notice ? Log{"pause", "notice+messages", "resume"} : Log{"pause", "resume"};
        EXPECT_EQ(host.Calls, expected);
        EXPECT_EQ(state.NoticeRound, c.RoundAfter);
        EXPECT_EQ(state.ManualRequest, !c.Notice);
    }
}

TEST_F(PassEnding, NoticesOffLeaveManualRequestSetSoLaterPassesStayTheUserWay) {
    state.AppSettings.ShowNotice = false;
    state.AppSettings.ManualOnce = false;
    state.NoticeRound = 2;
    state.ManualRequest = true;
    Pass();
    EXPECT_EQ(host.Calls, (Log{"pause", "resume"}));
    EXPECT_TRUE(state.ManualRequest);
    EXPECT_EQ(state.NoticeRound, 2);
    EXPECT_EQ(state.SecondsElapsed, 0u);

    // A later pass, with a non-zero interval, still ends without animation.
    host.Calls.clear();
    Pass();
    EXPECT_EQ(host.Calls, (Log{"pause", "resume"}));
}

TEST_F(PassEnding, PassOnTheIntervalThreadNeitherPausesNorAsksAfterItsOwnThread) {
    host.IsIntervalThread = true;
    state.ManualRequest = true;  // left set by a tray click with notices off, say
    Pass();
    EXPECT_EQ(host.Calls, (Log{"notice"}));
    EXPECT_FALSE(state.ManualRequest);
    EXPECT_EQ(state.SecondsElapsed, 0u);
}

TEST_F(PassEnding, IntervalThreadIsResumedEvenWhenTheNoticeFails) {
    state.ManualRequest = true;
    host.NoticeThrows = true;
    EXPECT_THROW(Pass(), KestrinError);
    EXPECT_EQ(host.Calls, (Log{"pause", "notice", "resume"}));
}

// ---- the automatic way ----

TEST_F(PassEnding, AutomaticPassAnimatesForOneAndAHalfSecondsThenRestartsTheCount) {
    Pass();
    EXPECT_EQ(host.Calls, (Log{"start", "sleep 1500", "stop"}));
    EXPECT_EQ(state.SecondsElapsed, 0u);  // reset after the sleep, not before
}

TEST_F(PassEnding, RunningAnimationIsNotStartedAgain) {
    host.IsAnimating = true;
    Pass();
    EXPECT_EQ(host.Calls, (Log{"sleep 1500", "stop"}));
}

TEST_F(PassEnding, AutomaticPassLeavesNoticeStateAlone) {
    state.NoticeRound = 2;
    host.IsIntervalThread = true;
    Pass();
    EXPECT_EQ(state.NoticeRound, 2);
    EXPECT_FALSE(state.ManualRequest);
}

}  // namespace
}  // namespace kestrin
