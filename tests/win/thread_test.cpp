// The thread class: start after construction, counted pauses, the end
// handler on the main thread, exceptions kept, and a clean end on destruction.
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
    explicit LambdaThread(std::function<void(LambdaThread&)> body, std::atomic<bool>* deleted = nullptr)
        : body_(std::move(body)), deleted_(deleted) {}
    ~LambdaThread() override {
        TerminateAndWait();
        if (deleted_) *deleted_ = true;
    }
    using Thread::SetReturnValue;

protected:
    void Execute() override { body_(*this); }

private:
    std::function<void(LambdaThread&)> body_;
    std::atomic<bool>* deleted_;  // set on the thread that deletes the object
};

// Counts until told to stop, a step a millisecond (the sleep is the
// workload's pace, so that it leaves the machine's two cores to the rest).
void CountUntilTerminated(LambdaThread& self, std::atomic<int>& counter) {
    while (!self.Terminated()) {
        counter.fetch_add(1);
        Sleep(1);
    }
}

// "Stands still" and "does not run" have no event to wait for: they are
// windows of this length, long against the counter's step.
constexpr DWORD kQuietMs = 200;

bool CounterStandsStill(const std::atomic<int>& counter) {
    const int before = counter.load();
    return HoldsFor([&] { return counter.load() == before; }, kQuietMs);
}

// True once the counter stands still (a suspension takes effect
// asynchronously, so it is looked for again and again).
bool CounterSettles(const std::atomic<int>& counter) {
    return WaitFor([&] { return CounterStandsStill(counter); });
}

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
    EXPECT_TRUE(thread.Suspended());
    EXPECT_TRUE(HoldsFor([&] { return !ran.load(); }, kQuietMs));
    thread.Start();
    EXPECT_FALSE(thread.Suspended());
    thread.WaitFor();
    EXPECT_TRUE(ran.load());
    EXPECT_TRUE(thread.Finished());
}

TEST_F(ThreadTest, WaitForReturnsTheExitCode) {
    auto thread = StartThread<LambdaThread>([](LambdaThread& self) { self.SetReturnValue(42); });
    EXPECT_EQ(thread->WaitFor(), 42u);
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

TEST_F(ThreadTest, DestructionResumesASuspendedThreadFirst) {
    std::atomic<int> counter{0};
    bool handlerRan = false;
    auto thread = std::make_unique<LambdaThread>([&](LambdaThread& self) { CountUntilTerminated(self, counter); });
    thread->SetOnTerminate([&] { handlerRan = true; });
    thread->Start();
    ASSERT_TRUE(CounterMoves(counter));
    thread->Suspend();
    thread->Suspend();
    thread.reset();  // would hang if the pauses were left in place
    EXPECT_TRUE(handlerRan);
}

TEST_F(ThreadTest, SuspendAndResumeNest) {
    std::atomic<int> counter{0};
    LambdaThread thread([&](LambdaThread& self) { CountUntilTerminated(self, counter); });
    thread.Start();
    ASSERT_TRUE(CounterMoves(counter));

    EXPECT_EQ(thread.Suspend(), 0u);
    EXPECT_EQ(thread.Suspend(), 1u);
    EXPECT_TRUE(thread.Suspended());
    ASSERT_TRUE(CounterSettles(counter));

    // One resume of two pauses: still standing.
    EXPECT_EQ(thread.Resume(), 2u);
    EXPECT_TRUE(thread.Suspended());
    EXPECT_TRUE(CounterStandsStill(counter));

    EXPECT_EQ(thread.Resume(), 1u);
    EXPECT_FALSE(thread.Suspended());
    EXPECT_TRUE(CounterMoves(counter));

    // A resume without a pause changes nothing.
    EXPECT_EQ(thread.Resume(), 0u);
    EXPECT_FALSE(thread.Suspended());
    EXPECT_TRUE(CounterMoves(counter));
}

TEST_F(ThreadTest, ResumeDoesNotStartAThreadThatWasNotStarted) {
    std::atomic<bool> ran{false};
    LambdaThread thread([&](LambdaThread&) { ran = true; });
    EXPECT_EQ(thread.Resume(), 0u);
    EXPECT_TRUE(HoldsFor([&] { return !ran.load(); }, kQuietMs));
    EXPECT_TRUE(thread.Suspended());
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

TEST_F(ThreadTest, AnExceptionFromExecuteIsKeptAndTheEndHandlerStillRuns) {
    bool handlerRan = false;
    LambdaThread thread([](LambdaThread&) { throw std::runtime_error("worker failed"); });
    thread.SetOnTerminate([&] { handlerRan = true; });
    thread.Start();
    thread.WaitFor();
    EXPECT_TRUE(handlerRan);
    ASSERT_TRUE(thread.FatalException());
    try {
        std::rethrow_exception(thread.FatalException());
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "worker failed");
    }
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

TEST_F(ThreadTest, FreeOnTerminateDeletesTheObjectAfterTheEndHandler) {
    std::atomic<bool> deleted{false};
    bool deletedBeforeHandler = true;
    auto* thread = new LambdaThread([](LambdaThread&) {}, &deleted);
    thread->SetFreeOnTerminate(true);
    thread->SetOnTerminate([&] { deletedBeforeHandler = deleted; });
    thread->Start();
    ASSERT_TRUE(WaitFor([&] { return deleted.load(); }, 10000));
    EXPECT_FALSE(deletedBeforeHandler);
}

}  // namespace
}  // namespace kestrin::test
