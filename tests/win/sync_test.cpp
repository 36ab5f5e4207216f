// The system's lock, condition variable and plain worker thread, as the
// program's threads use them: exclusion, waits that end with the change they
// wait for or with their time, and a worker that runs its body, owns it, and
// ends the way its owner chose.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include "win32/condition.h"
#include "win32/handles.h"
#include "win32/lock.h"
#include "win32/worker_thread.h"
#include "support/wait.h"

namespace kestrin::test {
namespace {

KernelHandle ManualEvent() { return KernelHandle(CreateEventA(nullptr, TRUE, FALSE, nullptr)); }

TEST(LockTest, KeepsAReadModifyWriteWhole) {
    // Each increment reads, lets the others run, then writes: without the
    // lock nearly every one of them would be lost.
    constexpr int kThreads = 4;
    constexpr int kRounds = 200;
    Lock lock;
    int counter = 0;
    {
        std::vector<std::unique_ptr<WorkerThread>> workers;
        for (int t = 0; t < kThreads; ++t) {
            workers.push_back(std::make_unique<WorkerThread>([&] {
                for (int i = 0; i < kRounds; ++i) {
                    std::lock_guard held(lock);
                    const int seen = counter;
                    SwitchToThread();
                    counter = seen + 1;
                }
            }));
        }
    }
    EXPECT_EQ(counter, kThreads * kRounds);
}

TEST(ConditionTest, WaitsEndWithTheChangeTheyWaitFor) {
    // The same hand-over through each kind of wait: the waiter returns once
    // the worker has set the flag under the lock and notified.
    enum class Kind { Wait, WaitForWithPredicate };
    for (const Kind kind : {Kind::Wait, Kind::WaitForWithPredicate}) {
        SCOPED_TRACE(static_cast<int>(kind));
        Lock lock;
        Condition changed;
        bool ready = false;
        WorkerThread setter([&] {
            {
                std::lock_guard held(lock);
                ready = true;
            }
            changed.NotifyAll();
        });
        std::lock_guard held(lock);
        if (kind == Kind::Wait)
            changed.Wait(lock, [&] { return ready; });
        else
            EXPECT_TRUE(changed.WaitFor(lock, kGenerousMs, [&] { return ready; }));
        EXPECT_TRUE(ready);
    }
}

TEST(ConditionTest, NotifyAllWakesEveryWaiter) {
    constexpr int kWaiters = 3;
    Lock lock;
    Condition changed;
    bool go = false;
    int waiting = 0;
    std::atomic<int> woken{0};
    {
        std::vector<std::unique_ptr<WorkerThread>> waiters;
        for (int i = 0; i < kWaiters; ++i) {
            waiters.push_back(std::make_unique<WorkerThread>([&] {
                std::lock_guard held(lock);
                ++waiting;
                changed.NotifyAll();
                changed.Wait(lock, [&] { return go; });
                woken.fetch_add(1);
            }));
        }
        std::lock_guard held(lock);
        ASSERT_TRUE(changed.WaitFor(lock, kGenerousMs, [&] { return waiting == kWaiters; }));
        go = true;
        changed.NotifyAll();
    }
    EXPECT_EQ(woken.load(), kWaiters);
}

TEST(ConditionTest, WaitForEndsWithItsTimeWhenNothingChanges) {
    Lock lock;
    Condition changed;
    std::lock_guard held(lock);
    EXPECT_FALSE(changed.WaitFor(lock, 30, [] { return false; }));
    EXPECT_FALSE(changed.WaitFor(lock, 30));
}

TEST(WorkerThreadTest, RunsItsBodyOnAThreadOfItsOwn) {
    std::atomic<DWORD> ranOn{0};
    WorkerThread worker([&] { ranOn = GetCurrentThreadId(); });
    worker.Join();
    EXPECT_NE(ranOn.load(), 0u);
    EXPECT_NE(ranOn.load(), GetCurrentThreadId());
}

TEST(WorkerThreadTest, EachEndLetsTheBodyFinishAndFreesIt) {
    // The body holds a share of `token` and waits for `release`: the share
    // goes only when the body, destroyed on the worker, is gone.
    enum class End { Join, Destructor, Detach };
    for (const End end : {End::Join, End::Destructor, End::Detach}) {
        SCOPED_TRACE(static_cast<int>(end));
        auto token = std::make_shared<int>(0);
        KernelHandle release = ManualEvent();
        KernelHandle finished = ManualEvent();
        std::optional<WorkerThread> worker;
        worker.emplace([share = token, r = release.get(), f = finished.get()] {
            WaitForSingleObject(r, INFINITE);
            SetEvent(f);
        });
        EXPECT_EQ(token.use_count(), 2);
        SetEvent(release.get());
        switch (end) {
            case End::Join:
                worker->Join();
                EXPECT_EQ(WaitForSingleObject(finished.get(), 0), WAIT_OBJECT_0);
                break;
            case End::Destructor:
                worker.reset();
                EXPECT_EQ(WaitForSingleObject(finished.get(), 0), WAIT_OBJECT_0);
                break;
            case End::Detach:
                worker->Detach();
                worker.reset();
                EXPECT_EQ(WaitForSingleObject(finished.get(), kGenerousMs), WAIT_OBJECT_0);
                break;
        }
        EXPECT_TRUE(WaitFor([&] { return token.use_count() == 1; }, kGenerousMs, Pump::None));
    }
}

TEST(WorkerThreadTest, JoinWithNothingToWaitForReturns) {
    // No thread at all, and a join asked by the worker of itself (which
    // would wait for ever).
    WorkerThread none;
    none.Join();

    KernelHandle go = ManualEvent();
    KernelHandle joined = ManualEvent();
    WorkerThread* self = nullptr;
    WorkerThread worker([&] {
        WaitForSingleObject(go.get(), INFINITE);
        self->Join();
        SetEvent(joined.get());
    });
    self = &worker;
    SetEvent(go.get());
    EXPECT_EQ(WaitForSingleObject(joined.get(), kGenerousMs), WAIT_OBJECT_0);
}

}  // namespace
}  // namespace kestrin::test
