#pragma once
// A condition variable for Lock: the system's CONDITION_VARIABLE. A wait is
// entered with the lock held; the lock is let go while the thread sleeps and
// held again when the wait returns. Like every condition variable it may
// wake without a notification, so the waits with a predicate look at it
// again until it holds.
#include <windows.h>

#include <cstdint>

#include "win32/lock.h"

namespace kestrin {

class Condition {
public:
    Condition() noexcept = default;
    Condition(const Condition&) = delete;
    Condition& operator=(const Condition&) = delete;

    // Sleeps until a notification (or a spurious wake).
    void Wait(Lock& lock) noexcept { SleepConditionVariableSRW(&condition_, &lock.lock_, INFINITE, 0); }
    template <typename Predicate>
    void Wait(Lock& lock, Predicate done) {
        while (!done()) Wait(lock);
    }

    // Sleeps until a notification (or a spurious wake) or until `ms` have
    // passed; false when the time ran out.
    bool WaitFor(Lock& lock, uint32_t ms) noexcept {
        return SleepConditionVariableSRW(&condition_, &lock.lock_, ms, 0) != FALSE;
    }
    // Sleeps until `done` holds or `ms` have passed (by the tick count);
    // returns what `done` says at the end.
    template <typename Predicate>
    bool WaitFor(Lock& lock, uint32_t ms, Predicate done) {
        const ULONGLONG start = GetTickCount64();
        while (!done()) {
            const ULONGLONG elapsed = GetTickCount64() - start;
            if (elapsed >= ms) return done();
            WaitFor(lock, static_cast<uint32_t>(ms - elapsed));
        }
        return true;
    }

    void NotifyAll() noexcept { WakeAllConditionVariable(&condition_); }

private:
    CONDITION_VARIABLE condition_ = CONDITION_VARIABLE_INIT;
};

// The pair in the shape the portable thread code takes as a parameter
// (BasicPauseGate).
struct SystemSync {
    using Lock = kestrin::Lock;
    using Condition = kestrin::Condition;
};

}  // namespace kestrin
