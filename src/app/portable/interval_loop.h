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
#include <cstdint>
#include <functional>

#include "app/portable/pause_gate.h"
#include "settings/portable/shared_state.h"

namespace kestrin {

class IntervalClock {
public:
    virtual ~IntervalClock();
    // One full timed wait of one second (on Windows: the event wait, with the
    // thread's own messages handled).
    virtual void WaitOneSecond() = 0;
};

// `gate`: a BasicPauseGate.
template <typename Gate>
void RunIntervalLoop(SharedState& state, IntervalClock& clock, Gate& gate, const std::function<void()>& compactOnce) {
    for (;;) {
        clock.WaitOneSecond();
        if (gate.Paused()) {
            gate.WaitWhilePaused(state.StopRequested);
            if (state.StopRequested) return;
            continue;  // a paused cycle is not counted
        }
        ++state.SecondsElapsed;
        if (state.StopRequested) return;
        if (state.SecondsElapsed >= state.AppSettings.IntervalMinutes * 60u) {
            const int32_t passes = state.AppSettings.PassCount;
            for (int32_t i = 0; i < passes; ++i) compactOnce();
            state.SecondsElapsed = 0;
            if (state.StopRequested) return;
        }
    }
}

}  // namespace kestrin
