// The thread class: start after construction, the end handler on the main
// thread, exceptions contained, and a clean end on destruction.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <stdexcept>

#include "framework/application.h"
#include "framework/thread.h"
#include "support/app_fixture.h"

namespace kestrin::test {
namespace {

class LambdaThread : public Thread {
public:
    explicit LambdaThread(std::function<void(LambdaThread&)> body) : body_(std::move(body)) {}
    ~LambdaThread() override { TerminateAndWait(); }

protected:
    void Execute() override { body_(*this); }

private:
    std::function<void(LambdaThread&)> body_;
};

// Counts until told to stop, a step a millisecond (the sleep is the
// workload's pace, so that it leaves the machine's two cores to the rest).
void CountUntilTerminated(LambdaThread& self, std::atomic<int>& counter) {
    while (!self.Terminated()) {
        counter.fetch_add(1);
        Sleep(1);
    }
}

// "Does not run" has no event to wait for: it is a window of this length.
constexpr DWORD kQuietMs = 200;

bool CounterMoves(const std::atomic<int>& counter) {
    const int before = counter.load();
    return WaitFor([&] { return counter.load() != before; });
}

using ThreadTest = AppTest;

TEST_F(ThreadTest, DoesNotRunBeforeStart) {
    std::atomic<bool> ran{false};
    LambdaThread thread([&](LambdaThread&) { ran = true; });
    EXPECT_NE(thread.Handle(), nullptr);
    EXPECT_NE(thread.ThreadId(), 0u);
    EXPECT_TRUE(HoldsFor([&] { return !ran.load(); }, kQuietMs));
    thread.Start();
    thread.WaitFor();
    EXPECT_TRUE(ran.load());
    EXPECT_TRUE(thread.Finished());
}

TEST_F(ThreadTest, EndHandlerRunsOnTheMainThreadDuringWaitFor) {
    std::atomic<bool> executeDone{false};
    DWORD handlerThread = 0;
    bool executeDoneFirst = false;
    LambdaThread thread([&](LambdaThread&) { executeDone = true; });
    thread.SetOnTerminate([&] {
        handlerThread = GetCurrentThreadId();
        executeDoneFirst = executeDone.load();
    });
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(handlerThread, GetCurrentThreadId());
    EXPECT_TRUE(executeDoneFirst);
}

TEST_F(ThreadTest, DestructionStopsTheThreadAndRunsTheEndHandlerOnTheMainThread) {
    DWORD handlerThread = 0;
    std::atomic<int> counter{0};
    auto thread = std::make_unique<LambdaThread>([&](LambdaThread& self) { CountUntilTerminated(self, counter); });
    thread->SetOnTerminate([&] { handlerThread = GetCurrentThreadId(); });
    thread->Start();
    ASSERT_TRUE(CounterMoves(counter));
    thread.reset();
    EXPECT_EQ(handlerThread, GetCurrentThreadId());
}

TEST_F(ThreadTest, TerminateIsSeenByExecute) {
    std::atomic<int> counter{0};
    LambdaThread thread([&](LambdaThread& self) { CountUntilTerminated(self, counter); });
    thread.Start();
    ASSERT_TRUE(CounterMoves(counter));
    EXPECT_FALSE(thread.Terminated());
    thread.Terminate();
    EXPECT_TRUE(thread.Terminated());
    thread.WaitFor();
    EXPECT_TRUE(thread.Finished());
}

TEST_F(ThreadTest, AnExceptionFromExecuteEndsTheThreadAndTheEndHandlerStillRuns) {
    bool handlerRan = false;
    LambdaThread thread([](LambdaThread&) { throw std::runtime_error("worker failed"); });
    thread.SetOnTerminate([&] { handlerRan = true; });
    thread.Start();
    thread.WaitFor();
    EXPECT_TRUE(handlerRan);
    EXPECT_TRUE(errors_.empty());
}

TEST_F(ThreadTest, AnExceptionFromTheEndHandlerReachesTheTopLevel) {
    LambdaThread thread([](LambdaThread&) {});
    thread.SetOnTerminate([] { throw std::runtime_error("end handler failed"); });
    thread.Start();
    thread.WaitFor();
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0].text, "end handler failed");
}

TEST_F(ThreadTest, SynchronizeFromExecuteRunsDuringWaitFor) {
    DWORD ranOn = 0;
    LambdaThread thread([&](LambdaThread&) { App().Synchronize([&] { ranOn = GetCurrentThreadId(); }); });
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(ranOn, GetCurrentThreadId());
}

TEST_F(ThreadTest, AThreadDestroyedBeforeStartNeverRunsItsBody) {
    std::atomic<bool> ran{false};
    bool handlerRan = false;
    {
        struct Unstarted : Thread {
            std::atomic<bool>* ran;
            explicit Unstarted(std::atomic<bool>* r) : ran(r) {}
            void Execute() override { *ran = true; }
        } thread(&ran);
        thread.SetOnTerminate([&] { handlerRan = true; });
    }
    EXPECT_FALSE(ran.load());
    EXPECT_FALSE(handlerRan);
}

}  // namespace
}  // namespace kestrin::test
