// A thread's stack below the part in use goes back to the system: at the
// start of every thread the framework makes, and where the program calls for
// it after a deep call.
#include <windows.h>
#include <psapi.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framework/thread.h"
#include "win32/thread_stack.h"
#include "win32/worker_thread.h"

namespace kestrin::test {
namespace {

constexpr uintptr_t kPage = 4096;

// Resident pages of the calling thread's unused stack; -1 when it is smaller
// than a thread's stack is (the release would have nothing to do).
int ResidentUnusedStackPages() {
    const StackRange unused = UnusedStack();
    if (unused.end < unused.begin + 256 * 1024) return -1;
    std::vector<PSAPI_WORKING_SET_EX_INFORMATION> pages((unused.end - unused.begin) / kPage);
    for (size_t i = 0; i < pages.size(); ++i) pages[i].VirtualAddress = reinterpret_cast<void*>(unused.begin + i * kPage);
    if (!QueryWorkingSetEx(GetCurrentProcess(), pages.data(), static_cast<DWORD>(pages.size() * sizeof(pages[0]))))
        return -1;
    int resident = 0;
    for (const auto& page : pages) resident += page.VirtualAttributes.Valid;
    return resident;
}

// Writes 64 KB of stack per level, `levels` deep, and returns a sum of what
// it wrote, so that nothing is optimised away.
__attribute__((noinline)) unsigned TouchStack(int levels) {
    volatile unsigned char block[64 * 1024];
    for (size_t i = 0; i < sizeof(block); i += 512) block[i] = static_cast<unsigned char>(i >> 9);
    // The block is read after the deeper call, so every level's frame lives.
    const unsigned deeper = levels > 1 ? TouchStack(levels - 1) : 0;
    return deeper + block[sizeof(block) - 512];
}

class ProbeThread : public Thread {
public:
    int resident = -2;
    ~ProbeThread() override { TerminateAndWait(); }

protected:
    void Execute() override { resident = ResidentUnusedStackPages(); }
};

TEST(ThreadStack, NewThreadsStartWithoutTheirUnusedStack) {
    int workerResident = -2;
    WorkerThread([&] { workerResident = ResidentUnusedStackPages(); }).Join();
    EXPECT_EQ(workerResident, 0) << "worker thread";

    ProbeThread thread;
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(thread.resident, 0) << "framework thread";
}

TEST(ThreadStack, DeepCallLeavesNothingAfterTheRelease) {
    int resident = -2;
    unsigned before = 0, after = 0;
    WorkerThread([&] {
        before = TouchStack(8);
        ASSERT_GT(ResidentUnusedStackPages(), 64);
        ReleaseUnusedStack();
        resident = ResidentUnusedStackPages();
        // The released pages serve the next deep call as before.
        after = TouchStack(8);
    }).Join();
    EXPECT_EQ(resident, 0);
    EXPECT_EQ(before, after);
}

}  // namespace
}  // namespace kestrin::test
