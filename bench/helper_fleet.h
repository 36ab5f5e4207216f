#pragma once
// The idle processes a compaction pass has to go through besides those the
// system runs anyway: started at once, waited for until each runs, and
// ended with the fleet (or with this process, on which each one waits).
#include <memory>
#include <vector>

#include "win32/handles.h"
#include "support/child_process.h"

namespace kestrin::bench {

class HelperFleet {
public:
    explicit HelperFleet(int count);
    // How many run.
    size_t Running() const { return running_; }

private:
    KernelHandle started_;  // a semaphore each helper releases once
    KernelHandle self_;
    std::vector<std::unique_ptr<test::ChildProcess>> helpers_;
    size_t running_ = 0;
};

}  // namespace kestrin::bench
