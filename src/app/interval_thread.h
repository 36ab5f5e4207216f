#pragma once
// The interval thread: counts one-second waits and, once IntervalMinutes
// minutes have been counted, runs a batch of PassCount passes on itself
// (the loop is RunIntervalLoop). It exists only while IntervalMinutes is
// not 0; the controller creates it, pauses it, and ends it with
// StopIntervalThreadAndWait.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/portable/interval_loop.h"
#include "settings/portable/shared_state.h"
#include "win32/condition.h"
#include "win32/handles.h"
#include "framework/thread.h"

namespace kestrin {

// The program's tick: a timed wait of 1000 ms on IntervalEvent. The event
// auto-resets and is set again after every wait, so each wait first takes
// the signal, handles the thread's own messages, and then runs the full
// second until its time-out. Without an event (its creation failed) the
// thread sleeps instead, so the one-second pacing holds either way.
class EventIntervalClock : public IntervalClock {
public:
    explicit EventIntervalClock(HANDLE event) noexcept : event_(event) {}
    void WaitOneSecond() override;

private:
    HANDLE event_;  // not owned: the thread's IntervalEvent
};

class TTThread : public Thread {
public:
    // `compact` runs one pass (the controller's Compact); it is called on the
    // interval thread. `clock` paces the count; null means the program's
    // EventIntervalClock on IntervalEvent. `pauses` are taken before the
    // thread runs (its creator's pauses still under way), each ended by its
    // own Resume. The thread starts at once and counts from 0.
    TTThread(SharedState& state, std::function<void()> compact, std::unique_ptr<IntervalClock> clock = nullptr,
             uint32_t pauses = 0);
    // Ends the thread first (as a stop request would) if it still runs.
    ~TTThread() override;

    // Counted pauses, taken at the thread's safe point (right after its timed
    // wait), never in the middle of a pass: a paused thread neither counts
    // nor starts passes, and every Pause needs its own Resume. A batch that
    // is under way finishes the pass it is in and holds before the next one.
    void Pause();
    void Resume();
    bool Paused() const;
    // The thread is standing at its safe point because of a pause.
    bool HeldByPause() const;

    // True on the interval thread itself (a pass asks this to know that it
    // must neither pause the thread that runs it nor show windows itself).
    // One interval thread runs at a time: the caller needs no object, and
    // none that another thread is replacing is read.
    static bool IsCallingThread() noexcept;

    // The event of the timed waits; null once ThreadEnded has run (or when
    // it could not be created).
    HANDLE IntervalEvent() const noexcept { return intervalEvent_.get(); }

    // StopRequested := true, and a paused thread is woken to see it.
    void RequestStop();
    // The thread has left its loop for good (its end handler may still be
    // on its way to the main thread).
    bool Ending() const noexcept { return ending_.load(); }
    // Blocks until Ending(). On the main thread the wait keeps running
    // synchronised calls and messages sent from other threads, since a pass
    // on the interval thread may be waiting for the main thread.
    void WaitUntilEnding();

protected:
    void Execute() override;
    // The end handler; runs on the main thread once Execute has returned.
    virtual void ThreadEnded();

private:
    void RunPass();
    void MarkEnding() noexcept;

    SharedState& state_;
    std::function<void()> compact_;
    KernelHandle intervalEvent_;
    std::unique_ptr<IntervalClock> clock_;
    BasicPauseGate<SystemSync> gate_;
    std::atomic<bool> ending_{false};
    KernelHandle endingEvent_;  // set with ending_, so that a stop can wait for it
};

// Ends the thread the controller's way: StopRequested := true; wait until the
// thread has left its loop (after its current wait, or after the batch it is
// running; at once when it is paused); let ThreadEnded run on this thread;
// destroy the object. Leaves `thread` empty. Call on the main thread.
void StopIntervalThreadAndWait(std::unique_ptr<TTThread>& thread);

}  // namespace kestrin
