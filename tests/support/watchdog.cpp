#include "support/watchdog.h"

#include <utility>

namespace kestrin::test {

Watchdog::Watchdog(std::function<void()> rescue, DWORD limitMs)
    : thread_([this, rescue = std::move(rescue), limitMs] {
          std::unique_lock lock(mutex_);
          if (done_.wait_for(lock, std::chrono::milliseconds(limitMs), [&] { return ended_; })) return;
          fired_ = true;
          lock.unlock();
          rescue();
      }) {}

Watchdog::~Watchdog() {
    {
        std::lock_guard lock(mutex_);
        ended_ = true;
    }
    done_.notify_all();
    thread_.join();
}

bool Watchdog::Fired() const {
    std::lock_guard lock(mutex_);
    return fired_;
}

}  // namespace kestrin::test
