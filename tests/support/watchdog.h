#pragma once
// Guards a call that has no time limit of its own (a blocking stop, say):
// when the scope has not ended within the limit, `rescue` runs on the
// watchdog's thread to undo whatever holds the call (open a gate, free a
// clock), and Fired() tells the test that it hung. The rescue must touch
// only what outlives the scope.
#include <windows.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "support/wait.h"

namespace kestrin::test {

class Watchdog {
public:
    explicit Watchdog(std::function<void()> rescue, DWORD limitMs = kGenerousMs);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    bool Fired() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable done_;
    bool ended_ = false;
    bool fired_ = false;
    std::thread thread_;
};

}  // namespace kestrin::test
