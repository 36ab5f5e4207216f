#pragma once
// The standard library's lock and condition variable in the shape that the
// portable thread code takes as a parameter (BasicPauseGate): Lock with
// lock/unlock, Condition with Wait(lock) and NotifyAll. For the host builds
// and their tests; the program itself uses the system's pair (SystemSync).
#include <condition_variable>
#include <mutex>

namespace kestrin {

struct StdSync {
    using Lock = std::mutex;

    class Condition {
    public:
        // `lock` is held by the caller, and held again on return.
        void Wait(std::mutex& lock) {
            std::unique_lock held(lock, std::adopt_lock);
            condition_.wait(held);
            (void)held.release();
        }
        void NotifyAll() noexcept { condition_.notify_all(); }

    private:
        std::condition_variable condition_;
    };
};

}  // namespace kestrin
