#include "app/portable/interval_loop.h"

namespace kestrin {

IntervalClock::~IntervalClock() = default;

void PauseGate::Pause() {
    std::lock_guard lock(mutex_);
    ++pauses_;
}

void PauseGate::Resume() {
    {
        std::lock_guard lock(mutex_);
        if (pauses_ == 0) return;
        if (--pauses_ != 0) return;
    }
    changed_.notify_all();
}

bool PauseGate::Paused() const {
    std::lock_guard lock(mutex_);
    return pauses_ != 0;
}

void PauseGate::WaitWhilePaused(const std::atomic<bool>& stop) {
    std::unique_lock lock(mutex_);
    ++held_;
    changed_.wait(lock, [&] { return pauses_ == 0 || stop.load(); });
    --held_;
}

uint32_t PauseGate::HeldThreads() const {
    std::lock_guard lock(mutex_);
    return held_;
}

void PauseGate::Wake() {
    // Taking the lock orders the wake after a waiter's check of `stop`, so the
    // notification cannot fall between its check and its sleep.
    { std::lock_guard lock(mutex_); }
    changed_.notify_all();
}

void RunIntervalLoop(SharedState& state, IntervalClock& clock, PauseGate& gate,
                     const std::function<void()>& compactOnce) {
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
