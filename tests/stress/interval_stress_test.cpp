// The interval loop and its pause gate under contention, for
// ThreadSanitizer: the loop spins through its cycles (the one-second wait
// returns at once) while other threads pause, resume, change the settings,
// reset the count and stop it. Each case checks that nothing is lost: the
// loop runs on after the last resume and ends on a stop, whatever the others
// are doing at that moment.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <future>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "app/portable/interval_loop.h"
#include "../portable/std_sync.h"

namespace kestrin {
namespace {

// The gate with the standard library's lock and condition variable, as the
// host builds (and ThreadSanitizer) see them.
using PauseGate = BasicPauseGate<StdSync>;

using namespace std::chrono_literals;
constexpr auto kEventually = 10s;  // generous bound for "it did happen"

// A wait that ends at once and counts itself, so the loop cycles as fast as
// it can; tests wait for the count to reach a mark.
class CountingClock : public IntervalClock {
public:
    void WaitOneSecond() override {
        {
            std::lock_guard lock(mutex_);
            ++waits_;
        }
        changed_.notify_all();
        std::this_thread::yield();
    }
    uint64_t Waits() {
        std::lock_guard lock(mutex_);
        return waits_;
    }
    bool AwaitWaits(uint64_t count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kEventually, [&] { return waits_ >= count; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    uint64_t waits_ = 0;
};

// The loop stands at its gate (after its wait, or before a pass).
bool AwaitHeld(const PauseGate& gate) {
    const auto deadline = std::chrono::steady_clock::now() + kEventually;
    while (gate.HeldThreads() == 0) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::yield();
    }
    return true;
}

// The loop on its own thread, stopped the controller's way.
class RunningLoop {
public:
    std::atomic<uint64_t> Passes{0};  // before done_: the loop counts into it

    RunningLoop(SharedState& state, CountingClock& clock, PauseGate& gate)
        : state_(state), gate_(gate),
          done_(std::async(std::launch::async, [&] { RunIntervalLoop(state, clock, gate, [&] { Pass(); }); })) {}
    ~RunningLoop() {
        Stop();
        done_.wait();
    }
    void Stop() {
        state_.StopRequested = true;
        gate_.Wake();
    }
    bool Ended() { return done_.wait_for(kEventually) == std::future_status::ready; }

private:
    // As the program's pass on the interval thread: a pause that came during
    // the batch holds it before the next pass, a stop drops the rest.
    void Pass() {
        if (gate_.Paused()) {
            gate_.WaitWhilePaused(state_.StopRequested);
            if (state_.StopRequested) return;
        }
        ++Passes;
    }

    SharedState& state_;
    PauseGate& gate_;
    std::future<void> done_;
};

TEST(IntervalStress, ConcurrentPausesAndSettingChangesLeaveTheLoopRunning) {
    const struct {
        const char* what;
        uint32_t intervalMinutes;
        int32_t passCount;
        int pausers;
        int rounds;
    } rows[] = {
        {"a batch every cycle", 0, 2, 3, 3000},
        {"a batch every 60 counts", 1, 3, 2, 3000},
        {"batches of no pass", 0, 0, 2, 3000},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        SharedState state;
        state.AppSettings.IntervalMinutes = row.intervalMinutes;
        state.AppSettings.PassCount = row.passCount;
        CountingClock clock;
        PauseGate gate;
        RunningLoop loop(state, clock, gate);
        std::atomic<int> lostPauses{0}, lostResumes{0};
        {
            std::vector<std::jthread> others;
            for (int p = 0; p < row.pausers; ++p) {
                others.emplace_back([&] {
                    // Each pause lasts until the loop stands at its gate, and
                    // the next one waits until it has run on; the first
                    // failure ends every pauser.
                    for (int i = 0; i < row.rounds && lostPauses + lostResumes == 0; ++i) {
                        gate.Pause();
                        if (i % 2) gate.Pause();  // nested
                        if (!AwaitHeld(gate)) ++lostPauses;
                        gate.Resume();
                        if (i % 2) gate.Resume();
                        if (!clock.AwaitWaits(clock.Waits() + 1)) ++lostResumes;
                    }
                });
            }
            // The settings dialog and the user's passes, meanwhile.
            others.emplace_back([&] {
                for (int i = 0; i < row.rounds; ++i) {
                    state.SecondsElapsed = 0;
                    state.AppSettings.PassCount = i % 2 ? row.passCount : 1;
                    std::this_thread::yield();
                }
                state.AppSettings.PassCount = row.passCount;
            });
        }
        EXPECT_EQ(lostPauses, 0) << "a paused loop did not stop at its gate";
        EXPECT_EQ(lostResumes, 0) << "the loop did not run on after the resumes";
        EXPECT_FALSE(gate.Paused());
        // Any batch begun under the changing settings is over after this.
        ASSERT_TRUE(clock.AwaitWaits(clock.Waits() + 200));
        const uint64_t passesBefore = loop.Passes;
        ASSERT_TRUE(clock.AwaitWaits(clock.Waits() + 200));  // more than two intervals' counts
        EXPECT_EQ(loop.Passes > passesBefore, row.passCount > 0);
        loop.Stop();
        EXPECT_TRUE(loop.Ended());
        EXPECT_EQ(gate.HeldThreads(), 0u);
    }
}

TEST(IntervalStress, StopEndsTheLoopWhateverThePausersAreDoing) {
    std::mt19937 random(7);  // fixed: a failure must repeat
    for (int round = 0; round < 500; ++round) {
        SCOPED_TRACE(round);
        SharedState state;
        state.AppSettings.IntervalMinutes = 0;
        state.AppSettings.PassCount = 1;
        CountingClock clock;
        PauseGate gate;
        RunningLoop loop(state, clock, gate);
        {
            std::vector<std::jthread> pausers;
            for (int p = 0; p < 2; ++p) {
                // Now and then a pause that is never resumed, as when the
                // program closes with the About box open.
                const bool leavesOnePaused = random() % 4 == 0;
                pausers.emplace_back([&, leavesOnePaused](std::stop_token done) {
                    if (leavesOnePaused) gate.Pause();
                    while (!done.stop_requested()) {
                        gate.Pause();
                        std::this_thread::yield();
                        gate.Resume();
                    }
                });
            }
            for (unsigned i = random() % 32; i > 0; --i) std::this_thread::yield();  // a varying moment
            loop.Stop();
            ASSERT_TRUE(loop.Ended()) << "the loop did not see the stop";
        }
        EXPECT_EQ(gate.HeldThreads(), 0u);
    }
}

}  // namespace
}  // namespace kestrin
