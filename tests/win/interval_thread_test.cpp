// The interval thread as a real thread, with its one-second tick handed out
// by the test: minutes pass as fast as the test gives ticks, and every state
// (waiting, paused, in a pass) can be reached on purpose. The program's own
// tick is checked on its own below.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "app/interval_thread.h"
#include "framework/application.h"
#include "support/app_fixture.h"
#include "support/gated_clock.h"

namespace kestrin {
namespace {

using test::AppTest;
using test::GatedClock;
using test::HoldsFor;
using test::WaitFor;

constexpr DWORD kEventually = 10000;  // generous bound for "it did happen"
constexpr DWORD kQuietMs = 200;       // window for "it does not happen"

struct PassRecord {
    int completedWaits;
    bool onIntervalThread;
};

class IntervalThreadTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        mainThread_ = GetCurrentThreadId();
        state.AppSettings.IntervalMinutes = 1;
        state.AppSettings.PassCount = 1;
    }

    void TearDown() override {
        // Whatever the test left: open every hold, so that the thread can end.
        OpenPasses();
        if (thread && clock) clock->FreeRun();
        StopIntervalThreadAndWait(thread);
        AppTest::TearDown();
    }

    void Start() {
        auto gated = std::make_unique<GatedClock>();
        clock = gated.get();
        thread = std::make_unique<TTThread>(state, [this] { OnPass(); }, std::move(gated));
    }

    // Passes block until OpenPasses() while held.
    void HoldPasses() {
        std::lock_guard lock(passMutex_);
        holdPasses_ = true;
    }
    void OpenPasses() {
        {
            std::lock_guard lock(passMutex_);
            holdPasses_ = false;
        }
        passChanged_.notify_all();
    }
    bool WaitPassesStarted(size_t count) {
        std::unique_lock lock(passMutex_);
        return passChanged_.wait_for(lock, std::chrono::milliseconds(kEventually),
                                     [&] { return started_ >= count; });
    }
    std::vector<PassRecord> Passes() {
        std::lock_guard lock(passMutex_);
        return passes_;
    }
    size_t PassCount() { return Passes().size(); }

    // A table of counting steps: each gives its ticks, waits until the thread
    // stands idle in its next wait, and checks the passes run so far and the
    // seconds counted. False when the thread never got there.
    struct Count {
        int give;
        size_t passes;
        uint32_t seconds;
    };
    bool Counts(std::initializer_list<Count> steps) {
        for (const Count& step : steps) {
            const int waits = clock->Completed() + step.give;
            clock->Give(step.give);
            if (!clock->WaitIdleAfter(waits)) return false;
            EXPECT_EQ(PassCount(), step.passes) << "after " << waits << " waits";
            EXPECT_EQ(state.SecondsElapsed, step.seconds) << "after " << waits << " waits";
        }
        return true;
    }
    // A batch of three is due at once and its first pass is held (HoldPasses).
    bool StartInAHeldBatch() {
        state.AppSettings.PassCount = 3;
        Start();
        HoldPasses();
        clock->Give(60);
        return WaitPassesStarted(1);
    }
    bool WaitHeldByPause() {
        return WaitFor([&] { return thread->HeldByPause(); }, kEventually);
    }

    SharedState state;
    GatedClock* clock = nullptr;  // owned by the thread, gone with it
    std::unique_ptr<TTThread> thread;
    DWORD mainThread_ = 0;

private:
    void OnPass() {
        std::unique_lock lock(passMutex_);
        ++started_;
        passChanged_.notify_all();
        passChanged_.wait(lock, [&] { return !holdPasses_; });
        passes_.push_back({clock->Completed(), thread->IsCallingThread()});
        // What a pass does at its end.
        state.SecondsElapsed = 0;
    }

    std::mutex passMutex_;
    std::condition_variable passChanged_;
    bool holdPasses_ = false;
    size_t started_ = 0;
    std::vector<PassRecord> passes_;
};

TEST_F(IntervalThreadTest, FirstBatchComesAfterIntervalMinutesTimesSixtyCountedSeconds) {
    state.AppSettings.PassCount = 2;
    state.SecondsElapsed = 500;  // left over from an earlier thread
    Start();
    EXPECT_EQ(state.SecondsElapsed, 0u) << "a new thread counts from 0";
    EXPECT_FALSE(thread->IsCallingThread());
    // PassCount passes in a row; the next batch a full interval after the end of this one.
    ASSERT_TRUE(Counts({{59, 0, 59}, {1, 2, 0}, {59, 2, 59}, {1, 4, 0}}));
    const auto passes = Passes();
    ASSERT_EQ(passes.size(), 4u);
    for (size_t i = 0; i < passes.size(); ++i) {
        EXPECT_EQ(passes[i].completedWaits, i < 2 ? 60 : 120) << "pass " << i;
        EXPECT_TRUE(passes[i].onIntervalThread) << "pass " << i;
    }
}

TEST_F(IntervalThreadTest, ZeroPassCountRunsNothingAndCountsAgainFromZero) {
    state.AppSettings.PassCount = 0;
    Start();
    ASSERT_TRUE(Counts({{60, 0, 0}, {7, 0, 7}}));
}

TEST_F(IntervalThreadTest, UserPassResettingTheCountPutsTheNextBatchOffByAFullInterval) {
    Start();
    ASSERT_TRUE(Counts({{50, 0, 50}}));
    state.SecondsElapsed = 0;  // a tray click's pass ends on the main thread
    ASSERT_TRUE(Counts({{59, 0, 59}, {1, 1, 0}}));
    const auto passes = Passes();
    ASSERT_EQ(passes.size(), 1u);
    EXPECT_EQ(passes[0].completedWaits, 110);
}

TEST_F(IntervalThreadTest, StopRequestTakesEffectWhenTheCurrentWaitEnds) {
    Start();
    ASSERT_TRUE(Counts({{3, 0, 3}}));
    state.StopRequested = true;  // as the controller's close does
    // The thread stands in its wait: nothing ends while the second lasts
    // (a window, since "nothing" has no event to wait for).
    EXPECT_TRUE(HoldsFor([&] { return !thread->Ending() && !thread->Finished(); }, kQuietMs));
    clock->Give(1);
    ASSERT_TRUE(WaitFor([&] { return thread->Ending(); }, kEventually));
    EXPECT_EQ(state.SecondsElapsed, 4u) << "the last wait still counts";
    StopIntervalThreadAndWait(thread);
    EXPECT_EQ(thread, nullptr);
}

TEST_F(IntervalThreadTest, StopRequestDuringABatchTakesEffectAfterTheWholeBatch) {
    ASSERT_TRUE(StartInAHeldBatch());
    state.StopRequested = true;
    OpenPasses();
    ASSERT_TRUE(WaitFor([&] { return thread->Ending(); }, kEventually));
    EXPECT_EQ(PassCount(), 3u);
    EXPECT_EQ(clock->Completed(), 60) << "no further wait after the batch";
}

TEST_F(IntervalThreadTest, NestedPausesNeedAsManyResumesAndPausedTimeIsNotCounted) {
    Start();
    ASSERT_TRUE(Counts({{59, 0, 59}}));
    thread->Pause();
    thread->Pause();
    EXPECT_TRUE(thread->Paused());
    clock->Give(1);
    ASSERT_TRUE(WaitHeldByPause());

    // Held: the wait during which the pause came is not counted, and no
    // further second is taken, so the due batch does not start.
    clock->Give(10);
    EXPECT_TRUE(HoldsFor([&] { return clock->Completed() == 60 && clock->TicksLeft() == 10; }, kQuietMs));
    EXPECT_EQ(state.SecondsElapsed, 59u);
    EXPECT_EQ(PassCount(), 0u);

    thread->Resume();
    EXPECT_TRUE(thread->Paused()) << "one resume for two pauses";
    EXPECT_TRUE(HoldsFor([&] { return thread->HeldByPause() && clock->Completed() == 60; }, kQuietMs));

    thread->Resume();
    EXPECT_FALSE(thread->Paused());
    ASSERT_TRUE(clock->WaitIdleAfter(70));
    // 59, then one more counted second gives the batch, then 9.
    EXPECT_EQ(PassCount(), 1u);
    EXPECT_EQ(state.SecondsElapsed, 9u);
}

TEST_F(IntervalThreadTest, ResumeWithoutPauseChangesNothing) {
    Start();
    thread->Resume();
    thread->Pause();
    EXPECT_TRUE(thread->Paused()) << "the stray resume did not eat this pause";
    thread->Resume();
    EXPECT_FALSE(thread->Paused());
    ASSERT_TRUE(Counts({{5, 0, 5}}));
}

TEST_F(IntervalThreadTest, PauseDuringABatchHoldsItBeforeItsNextPass) {
    ASSERT_TRUE(StartInAHeldBatch());
    // The pass under way is never frozen; the next one waits for the resume.
    thread->Pause();
    OpenPasses();
    ASSERT_TRUE(WaitHeldByPause());
    EXPECT_EQ(PassCount(), 1u);
    thread->Resume();
    ASSERT_TRUE(clock->WaitIdleAfter(60));
    EXPECT_EQ(PassCount(), 3u);
}

TEST_F(IntervalThreadTest, StopWhilePausedEndsTheThreadWithoutHanging) {
    Start();
    thread->Pause();
    clock->Give(1);
    ASSERT_TRUE(WaitHeldByPause());
    // Only the stop is given: no resume, no further tick.
    StopIntervalThreadAndWait(thread);
    EXPECT_EQ(thread, nullptr);
    EXPECT_TRUE(state.StopRequested);
    EXPECT_EQ(PassCount(), 0u);
}

TEST_F(IntervalThreadTest, StopWhilePausedInTheMiddleOfABatchDropsTheRestOfIt) {
    ASSERT_TRUE(StartInAHeldBatch());
    thread->Pause();
    OpenPasses();
    ASSERT_TRUE(WaitHeldByPause());
    StopIntervalThreadAndWait(thread);
    EXPECT_EQ(PassCount(), 1u);
}

TEST_F(IntervalThreadTest, DestroyingARunningThreadStopsItFirst) {
    Start();
    ASSERT_TRUE(Counts({{2, 0, 2}}));
    clock->FreeRun();
    thread.reset();
    EXPECT_TRUE(state.StopRequested);
}

// Records where and when the end handler runs, outside the object, which
// is gone by the time the test looks.
struct EndRecord {
    DWORD thread = 0;
    bool afterExecute = false;
    HANDLE eventBefore = nullptr;
    HANDLE eventAfter = reinterpret_cast<HANDLE>(1);
};

class ObservedThread : public TTThread {
public:
    ObservedThread(SharedState& state, EndRecord& record) : TTThread(state, [] {}), record_(record) {}

protected:
    void ThreadEnded() override {
        record_.thread = GetCurrentThreadId();
        record_.afterExecute = Ending() && Finished();
        record_.eventBefore = IntervalEvent();
        TTThread::ThreadEnded();
        record_.eventAfter = IntervalEvent();
    }

private:
    EndRecord& record_;
};

TEST_F(IntervalThreadTest, EndHandlerRunsOnTheMainThreadAndTakesTheEventAlong) {
    EndRecord record;
    // The program's own tick: the real event and its one-second waits.
    thread = std::make_unique<ObservedThread>(state, record);
    HANDLE event = thread->IntervalEvent();
    ASSERT_NE(event, nullptr);
    DWORD flags = 0;
    EXPECT_TRUE(GetHandleInformation(event, &flags));
    ASSERT_TRUE(WaitFor([&] { return state.SecondsElapsed >= 1; }, kEventually));

    StopIntervalThreadAndWait(thread);
    EXPECT_EQ(thread, nullptr);
    EXPECT_EQ(record.thread, mainThread_);
    EXPECT_TRUE(record.afterExecute);
    EXPECT_EQ(record.eventBefore, event);
    // Dropped through its owning handle, which closes it. (The closed handle's
    // value cannot be probed: the system hands it out again at once.)
    EXPECT_EQ(record.eventAfter, nullptr);
}

// The program's tick by itself, on the test's thread. The lower bound leaves
// room for the tick counter's coarse steps; what it rules out is a wait that
// returns at once and lets the count race ahead.
void ExpectAFullSecond(EventIntervalClock& clock) {
    const DWORD start = GetTickCount();
    clock.WaitOneSecond();
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 900u);
    EXPECT_LT(elapsed, 10000u);
}

TEST(EventIntervalClock, EachWaitLastsAFullSecondAndLeavesTheEventSetForTheNext) {
    HANDLE event = CreateEventA(nullptr, FALSE, TRUE, nullptr);  // as IntervalEvent
    ASSERT_NE(event, nullptr);
    EventIntervalClock clock(event);
    for (int i = 0; i < 2; ++i) {
        // The signal is taken at once; the time-out gives the second.
        ExpectAFullSecond(clock);
        EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_OBJECT_0)) << "set again";
        SetEvent(event);  // what the probe took
    }
    CloseHandle(event);
}

TEST(EventIntervalClock, WithoutAnEventTheWaitStillLastsASecond) {
    // CreateEventA failed: the count must not race ahead.
    EventIntervalClock clock(nullptr);
    ExpectAFullSecond(clock);
}

TEST(EventIntervalClock, AnEventThatCannotBeWaitedOnStillGivesASecond) {
    // A handle that is no (longer an) event: every wait fails at once.
    HANDLE event = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    ASSERT_NE(event, nullptr);
    CloseHandle(event);
    EventIntervalClock clock(event);
    ExpectAFullSecond(clock);
}

}  // namespace
}  // namespace kestrin
