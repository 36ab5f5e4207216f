// The interval thread's loop with the one-second wait replaced by a fake, so
// minutes pass in microseconds; pauses and stops with real threads.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "app/portable/interval_loop.h"
#include "std_sync.h"

namespace kestrin {
namespace {

// The gate with the standard library's lock and condition variable, as the
// host builds (and ThreadSanitizer) see them.
using PauseGate = BasicPauseGate<StdSync>;

using namespace std::chrono_literals;
constexpr auto kEventually = 10s;  // generous bound for "it did happen"

// Runs `onWait(n)` inside the n-th wait (n from 1), on the loop's thread.
class ScriptedClock : public IntervalClock {
public:
    std::function<void(int)> OnWait;
    int Waits = 0;
    void WaitOneSecond() override {
        ++Waits;
        if (OnWait) OnWait(Waits);
    }
};

struct Batches {
    std::vector<int> WaitOfEachPass;  // the wait count at which each pass ran
};

class IntervalLoop : public ::testing::Test {
protected:
    IntervalLoop() { state.AppSettings.IntervalMinutes = 1; }

    // Runs the loop until it ends by itself, stopping it in wait `stopAt`.
    void RunUntilStoppedAt(int stopAt, const std::function<void(int)>& extra = {}) {
        clock.OnWait = [&, stopAt, extra](int wait) {
            if (extra) extra(wait);
            if (wait == stopAt) state.StopRequested = true;
        };
        RunIntervalLoop(state, clock, gate, [&] { passes.WaitOfEachPass.push_back(clock.Waits); });
    }

    SharedState state;
    ScriptedClock clock;
    PauseGate gate;
    Batches passes;
};

TEST_F(IntervalLoop, FirstBatchComesAfterIntervalMinutesTimesSixtyCountedSeconds) {
    state.AppSettings.PassCount = 2;
    RunUntilStoppedAt(150);
    EXPECT_EQ(passes.WaitOfEachPass, (std::vector<int>{60, 60, 120, 120}));
    EXPECT_EQ(state.SecondsElapsed, 30u);
}

TEST_F(IntervalLoop, LongerIntervalCountsLonger) {
    state.AppSettings.IntervalMinutes = 3;
    state.AppSettings.PassCount = 1;
    RunUntilStoppedAt(400);
    EXPECT_EQ(passes.WaitOfEachPass, (std::vector<int>{180, 360}));
}

TEST_F(IntervalLoop, ZeroPassCountRunsNothingAndRestartsTheCount) {
    state.AppSettings.PassCount = 0;
    RunUntilStoppedAt(70);
    EXPECT_TRUE(passes.WaitOfEachPass.empty());
    EXPECT_EQ(state.SecondsElapsed, 10u);
}

TEST_F(IntervalLoop, NegativePassCountRunsNothing) {
    state.AppSettings.PassCount = -4;
    RunUntilStoppedAt(61);
    EXPECT_TRUE(passes.WaitOfEachPass.empty());
    EXPECT_EQ(state.SecondsElapsed, 1u);
}

TEST_F(IntervalLoop, UserPassResettingTheCountDelaysTheBatch) {
    state.AppSettings.PassCount = 1;
    RunUntilStoppedAt(200, [&](int wait) {
        if (wait == 50) state.SecondsElapsed = 0;  // a tray click's pass ended just now
    });
    // Wait 50 itself is still counted after the reset.
    EXPECT_EQ(passes.WaitOfEachPass, (std::vector<int>{109, 169}));
}

TEST_F(IntervalLoop, StopIsSeenRightAfterTheCurrentWait) {
    RunUntilStoppedAt(5);
    EXPECT_EQ(clock.Waits, 5);
    EXPECT_EQ(state.SecondsElapsed, 5u);
}

TEST_F(IntervalLoop, StopWinsOverABatchThatIsDue) {
    RunUntilStoppedAt(60);
    EXPECT_TRUE(passes.WaitOfEachPass.empty());
}

TEST_F(IntervalLoop, StopDuringABatchEndsTheLoopAfterTheWholeBatch) {
    state.AppSettings.PassCount = 3;
    clock.OnWait = [](int) {};
    RunIntervalLoop(state, clock, gate, [&] {
        passes.WaitOfEachPass.push_back(clock.Waits);
        state.StopRequested = true;
    });
    EXPECT_EQ(passes.WaitOfEachPass, (std::vector<int>{60, 60, 60}));
    EXPECT_EQ(clock.Waits, 60);
}

TEST_F(IntervalLoop, SettingsChangedMeanwhileApplyFromTheNextCheck) {
    state.AppSettings.PassCount = 1;
    RunUntilStoppedAt(130, [&](int wait) {
        if (wait == 10) state.AppSettings.IntervalMinutes = 2;  // the settings dialog, meanwhile
    });
    EXPECT_EQ(passes.WaitOfEachPass, (std::vector<int>{120}));
}

// ---- pauses, with the loop on a real thread ----

TEST(PauseGate, PausesNestAndNeedAsManyResumes) {
    PauseGate gate;
    EXPECT_FALSE(gate.Paused());
    gate.Pause();
    gate.Pause();
    gate.Resume();
    EXPECT_TRUE(gate.Paused());
    gate.Resume();
    EXPECT_FALSE(gate.Paused());
}

TEST(PauseGate, UnmatchedResumeIsIgnored) {
    PauseGate gate;
    gate.Resume();
    gate.Pause();
    EXPECT_TRUE(gate.Paused());
    gate.Resume();
    EXPECT_FALSE(gate.Paused());
}

TEST(PauseGate, WaitReturnsAtOnceWhenNotPausedOrAlreadyStopped) {
    PauseGate gate;
    std::atomic<bool> stop{false};
    gate.WaitWhilePaused(stop);  // would hang the test if it blocked
    gate.Pause();
    stop = true;
    gate.WaitWhilePaused(stop);
    SUCCEED();
}

// A lock that tells when someone is blocked on it, and a condition that runs
// a step between the waiter's check and its sleep: a stop can be made to
// come exactly there, every time.
struct SteppedSync {
    struct Lock {
        void lock() {
            ++Contenders;
            mutex.lock();
            --Contenders;
        }
        void unlock() { mutex.unlock(); }
        std::mutex mutex;
        std::atomic<int> Contenders{0};
    };
    struct Condition {
        void Wait(Lock& lock) {
            if (const auto step = std::exchange(BeforeSleep, {})) step(lock);
            TimedOut = condition.wait_for(lock, kEventually) == std::cv_status::timeout;
        }
        void NotifyAll() noexcept { condition.notify_all(); }
        static inline std::function<void(Lock&)> BeforeSleep;
        static inline bool TimedOut = false;
        std::condition_variable_any condition;
    };
};

TEST(PauseGate, StopBetweenTheWaitersCheckAndItsSleepStillWakesIt) {
    // A wake that does not take the gate's lock would fall before the sleep
    // and leave the thread asleep for ever: a hang at exit.
    BasicPauseGate<SteppedSync> gate;
    std::atomic<bool> stop{false}, woken{false};
    std::thread stopper;
    SteppedSync::Condition::BeforeSleep = [&](SteppedSync::Lock& lock) {
        stopper = std::thread([&] {
            stop = true;
            gate.Wake();
            woken = true;
        });
        // The stopper has woken the gate, or waits for the lock we hold.
        while (!woken && lock.Contenders == 0) std::this_thread::yield();
    };
    gate.Pause();
    gate.WaitWhilePaused(stop);
    stopper.join();
    EXPECT_FALSE(SteppedSync::Condition::TimedOut);
}

// A clock whose waits end only when the test lets them, one by one.
class SteppedClock : public IntervalClock {
public:
    void WaitOneSecond() override {
        std::unique_lock lock(mutex_);
        ++entered_;
        changed_.notify_all();
        changed_.wait(lock, [&] { return granted_ > finished_; });
        ++finished_;
        changed_.notify_all();
    }
    void Grant(int waits = 1) {
        {
            std::lock_guard lock(mutex_);
            granted_ += waits;
        }
        changed_.notify_all();
    }
    bool AwaitEntered(int count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kEventually, [&] { return entered_ >= count; });
    }
    int Entered() {
        std::lock_guard lock(mutex_);
        return entered_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int entered_ = 0;
    int granted_ = 0;
    int finished_ = 0;
};

bool AwaitHeld(const PauseGate& gate) {
    const auto deadline = std::chrono::steady_clock::now() + kEventually;
    while (gate.HeldThreads() == 0) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// The loop on its own thread; whatever a test leaves behind, the destructor
// stops it and lets every wait end, so a failing test cannot hang.
class LoopThread {
public:
    LoopThread(SharedState& state, SteppedClock& clock, PauseGate& gate)
        : state_(state), clock_(clock), gate_(gate),
          done_(std::async(std::launch::async, [&] { RunIntervalLoop(state, clock, gate, [] {}); })) {}
    ~LoopThread() {
        state_.StopRequested = true;
        gate_.Wake();
        clock_.Grant(1000);
        done_.wait();
    }
    bool Ended() { return done_.wait_for(kEventually) == std::future_status::ready; }

private:
    SharedState& state_;
    SteppedClock& clock_;
    PauseGate& gate_;
    std::future<void> done_;
};

TEST(IntervalPause, PausedThreadNeitherCountsNorWaitsAgainUntilResumed) {
    SharedState state;
    SteppedClock clock;
    PauseGate gate;
    gate.Pause();
    LoopThread loop(state, clock, gate);

    clock.Grant(2);
    ASSERT_TRUE(AwaitHeld(gate));
    EXPECT_EQ(clock.Entered(), 1);  // held at the gate, second wait not begun
    EXPECT_EQ(state.SecondsElapsed, 0u);

    gate.Resume();
    ASSERT_TRUE(clock.AwaitEntered(3));  // the second wait ran and the cycle after it began
    EXPECT_EQ(state.SecondsElapsed, 1u);  // only the wait after the pause counted
}

TEST(IntervalPause, NestedPausesHoldTheThreadUntilTheLastResume) {
    SharedState state;
    SteppedClock clock;
    PauseGate gate;
    gate.Pause();
    gate.Pause();
    LoopThread loop(state, clock, gate);

    clock.Grant(2);
    ASSERT_TRUE(AwaitHeld(gate));
    gate.Resume();
    std::this_thread::sleep_for(5ms);
    EXPECT_EQ(gate.HeldThreads(), 1u);
    EXPECT_EQ(clock.Entered(), 1);
    EXPECT_EQ(state.SecondsElapsed, 0u);

    gate.Resume();
    ASSERT_TRUE(clock.AwaitEntered(3));
    EXPECT_EQ(state.SecondsElapsed, 1u);
}

TEST(IntervalPause, StopWhilePausedEndsTheLoop) {
    SharedState state;
    SteppedClock clock;
    PauseGate gate;
    gate.Pause();
    LoopThread loop(state, clock, gate);

    clock.Grant(1);
    ASSERT_TRUE(AwaitHeld(gate));
    state.StopRequested = true;
    gate.Wake();
    EXPECT_TRUE(loop.Ended());
    EXPECT_TRUE(gate.Paused());  // ended without anyone resuming it
    EXPECT_EQ(gate.HeldThreads(), 0u);
    EXPECT_EQ(clock.Entered(), 1);
    EXPECT_EQ(state.SecondsElapsed, 0u);
}

TEST(IntervalPause, StopRequestedBeforeThePauseIsNoticedAlsoEndsTheLoop) {
    SharedState state;
    SteppedClock clock;
    PauseGate gate;
    LoopThread loop(state, clock, gate);

    ASSERT_TRUE(clock.AwaitEntered(1));
    gate.Pause();
    state.StopRequested = true;  // no Wake(): the stop is already set when the gate is reached
    clock.Grant(1);
    EXPECT_TRUE(loop.Ended());
    EXPECT_EQ(clock.Entered(), 1);
}

}  // namespace
}  // namespace kestrin
