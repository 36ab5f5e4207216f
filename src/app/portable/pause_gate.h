#pragma once
// Counted pauses for the interval thread: as many Resume() calls as Pause()
// calls end a pause. The thread looks at the gate at its safe point (see
// interval_loop.h) and waits there while it is paused.
//
// `Sync` supplies the lock and the condition variable: SystemSync (the
// system's own, win32/condition.h) in the program; the tests on the host
// bring the standard library's.
#include <atomic>
#include <cstdint>
#include <mutex>

namespace kestrin {

template <typename Sync>
class BasicPauseGate {
public:
    void Pause() {
        std::lock_guard lock(mutex_);
        ++pauses_;
    }

    // A Resume() without a matching Pause() is ignored.
    void Resume() {
        {
            std::lock_guard lock(mutex_);
            if (pauses_ == 0) return;
            if (--pauses_ != 0) return;
        }
        changed_.NotifyAll();
    }

    bool Paused() const {
        std::lock_guard lock(mutex_);
        return pauses_ != 0;
    }

    // Returns at once when not paused; otherwise blocks until every pause has
    // been resumed or `stop` is set (the stopper calls Wake() after setting it).
    void WaitWhilePaused(const std::atomic<bool>& stop) {
        std::lock_guard lock(mutex_);
        ++held_;
        while (pauses_ != 0 && !stop.load()) changed_.Wait(mutex_);
        --held_;
    }

    void Wake() {
        // Taking the lock orders the wake after a waiter's check of `stop`, so
        // the notification cannot fall between its check and its sleep.
        { std::lock_guard lock(mutex_); }
        changed_.NotifyAll();
    }

    // Threads blocked in WaitWhilePaused right now (lets a caller see that
    // the interval thread has reached its safe point).
    uint32_t HeldThreads() const {
        std::lock_guard lock(mutex_);
        return held_;
    }

private:
    mutable typename Sync::Lock mutex_;
    typename Sync::Condition changed_;
    uint32_t pauses_ = 0;
    uint32_t held_ = 0;
};

}  // namespace kestrin
