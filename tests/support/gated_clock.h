#pragma once
// The interval thread's one-second tick handed out by the test: each wait
// takes one tick the test has given, so minutes pass as fast as the test
// gives ticks and every state of the thread can be reached on purpose. In
// free run every wait returns at once (after a yield), so a thread can
// always end.
#include <windows.h>

#include <condition_variable>
#include <memory>
#include <mutex>

#include "app/portable/interval_loop.h"

namespace kestrin::test {

class GatedClock : public IntervalClock {
public:
    void WaitOneSecond() override;

    void Give(int ticks);
    void FreeRun();

    // Until `count` waits have completed and the thread stands in the next
    // one with no tick left: the cycle in between is wholly done.
    bool WaitIdleAfter(int count);

    int Completed() const;
    int TicksLeft() const;

    // A clock for the thread that forwards to this one, for a test that
    // keeps the clock beyond the thread (a rescue may still reach it).
    std::unique_ptr<IntervalClock> Lend();

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    int ticks_ = 0;
    int waiting_ = 0;
    int completed_ = 0;
    bool freeRun_ = false;
};

}  // namespace kestrin::test
