#include "bench/helper_fleet.h"

#include "bench/bench_setup.h"

namespace kestrin::bench {

HelperFleet::HelperFleet(int count) : self_(test::InheritableSelf()) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    started_.reset(CreateSemaphoreA(&inherit, 0, count > 0 ? count : 1, nullptr));
    const std::string commandLine = test::Quoted(IdleHelperPath()) + " " + test::HandleText(started_.get()) + " " +
                                    test::HandleText(self_.get());
    for (int i = 0; i < count; ++i) {
        auto helper = std::make_unique<test::ChildProcess>(commandLine, true);
        if (helper->Started()) helpers_.push_back(std::move(helper));
    }
    while (running_ < helpers_.size() && WaitForSingleObject(started_.get(), kStartTimeoutMs) == WAIT_OBJECT_0)
        ++running_;
}

}  // namespace kestrin::bench
