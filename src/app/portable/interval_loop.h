#pragma once
// The interval thread's body: count one-second waits and run a batch of
// passes once IntervalMinutes minutes have been counted.
//
// The thread is paused at a safe point (right after its timed wait) instead
// of being suspended wherever it is: a suspension in the middle of a pass
// could freeze it while it holds a lock the main thread needs (the memory
// allocator's, for one). A paused thread neither counts nor starts passes.
//
// A stop request is seen after the current wait, or right after the current
// batch; a stop requested while the thread is paused ends it as well.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

#include "app/portable/shared_state.h"

namespace kestrin {

class IntervalClock {
public:
    virtual ~IntervalClock();
    // One full timed wait of one second (on Windows: the event wait, with the
    // thread's own messages handled).
    virtual void WaitOneSecond() = 0;
};

// Counted pauses: as many Resume() calls as Pause() calls end a pause.
class PauseGate {
public:
    void Pause();
    // A Resume() without a matching Pause() is ignored.
    void Resume();
    bool Paused() const;
    // Returns at once when not paused; otherwise blocks until every pause has
    // been resumed or `stop` is set (the stopper calls Wake() after setting it).
    void WaitWhilePaused(const std::atomic<bool>& stop);
    void Wake();
    // Threads blocked in WaitWhilePaused right now (lets a caller see that
    // the interval thread has reached its safe point).
    uint32_t HeldThreads() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    uint32_t pauses_ = 0;
    uint32_t held_ = 0;
};

void RunIntervalLoop(SharedState& state, IntervalClock& clock, PauseGate& gate,
                     const std::function<void()>& compactOnce);

// Milliseconds between two readings of the 32-bit tick counter; right across
// its wrap after 49.7 days as well.
constexpr uint32_t TickElapsed(uint32_t start, uint32_t now) noexcept { return now - start; }
constexpr bool TickPassed(uint32_t start, uint32_t now, uint32_t ms) noexcept {
    return TickElapsed(start, now) >= ms;
}

}  // namespace kestrin
