#pragma once
// The standard library's lock and condition variable in the shape that
// BasicPauseGate takes, for its tests on the host (ThreadSanitizer's too).
#include <condition_variable>
#include <mutex>

namespace kestrin {

struct StdSync {
    using Lock = std::mutex;
    struct Condition {
        // `lock` is held by the caller, and held again on return.
        void Wait(std::mutex& lock) { condition.wait(lock); }
        void NotifyAll() noexcept { condition.notify_all(); }
        std::condition_variable_any condition;
    };
};

}  // namespace kestrin
