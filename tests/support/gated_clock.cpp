#include "support/gated_clock.h"


#include "support/wait.h"

namespace kestrin::test {

namespace {

class LentClock : public IntervalClock {
public:
    explicit LentClock(GatedClock& owner) : owner_(owner) {}
    void WaitOneSecond() override { owner_.WaitOneSecond(); }

private:
    GatedClock& owner_;
};

}  // namespace

void GatedClock::WaitOneSecond() {
    std::unique_lock lock(mutex_);
    ++waiting_;
    changed_.notify_all();
    changed_.wait(lock, [&] { return freeRun_ || ticks_ > 0; });
    if (!freeRun_) --ticks_;
    --waiting_;
    ++completed_;
    const bool yield = freeRun_;
    lock.unlock();
    changed_.notify_all();
    if (yield) Sleep(1);
}

void GatedClock::Give(int ticks) {
    {
        std::lock_guard lock(mutex_);
        ticks_ += ticks;
    }
    changed_.notify_all();
}

void GatedClock::FreeRun() {
    {
        std::lock_guard lock(mutex_);
        freeRun_ = true;
    }
    changed_.notify_all();
}

bool GatedClock::WaitIdleAfter(int count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(kGenerousMs),
                             [&] { return completed_ >= count && waiting_ == 1 && ticks_ == 0; });
}

int GatedClock::Completed() const {
    std::lock_guard lock(mutex_);
    return completed_;
}

int GatedClock::TicksLeft() const {
    std::lock_guard lock(mutex_);
    return ticks_;
}

std::unique_ptr<IntervalClock> GatedClock::Lend() { return std::make_unique<LentClock>(*this); }

}  // namespace kestrin::test
