// The program's wait for one of several handles: which one, with null
// handles left out of the count, on a worker and on the main thread (where
// calls synchronised onto it still run), and the refusals.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>

#include "framework/application.h"
#include "win32/handles.h"
#include "framework/wait.h"
#include "win32/worker_thread.h"
#include "support/app_fixture.h"

namespace kestrin::test {
namespace {

KernelHandle Event(bool signalled) { return KernelHandle(CreateEventA(nullptr, TRUE, signalled ? TRUE : FALSE, nullptr)); }

using WaitTest = AppTest;

TEST_F(WaitTest, GivesThePlaceOfTheSignalledHandleInTheList) {
    const KernelHandle quiet = Event(false);
    const KernelHandle set = Event(true);
    struct Case {
        const char* name;
        std::initializer_list<HANDLE> handles;
        int expected;
    };
    const Case cases[] = {
        {"the only one", {set.get()}, 0},
        {"after a quiet one", {quiet.get(), set.get()}, 1},
        {"after a null one, which still has its place", {nullptr, set.get()}, 1},
        {"nulls around it", {nullptr, nullptr, set.get(), nullptr}, 2},
        {"nothing to wait for", {}, -1},
        {"only nulls", {nullptr, nullptr}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WaitForAny(c.handles), c.expected);  // on the main thread
        std::atomic<int> onWorker{-2};
        WorkerThread([&] { onWorker = WaitForAny(c.handles); }).Join();
        EXPECT_EQ(onWorker.load(), c.expected);
    }
}

TEST_F(WaitTest, AsManyHandlesAsTheSystemTakesAndNoMore) {
    // A list of MAXIMUM_WAIT_OBJECTS (64) handles is waited on by a worker;
    // one more is refused, and so are 64 on the main thread, which adds the
    // event of the synchronised calls.
    static_assert(MAXIMUM_WAIT_OBJECTS == 64);
    const KernelHandle set = Event(true);
    const HANDLE h = set.get();
#define KESTRIN_EIGHT h, h, h, h, h, h, h, h
#define KESTRIN_SIXTY_FOUR KESTRIN_EIGHT, KESTRIN_EIGHT, KESTRIN_EIGHT, KESTRIN_EIGHT, \
                           KESTRIN_EIGHT, KESTRIN_EIGHT, KESTRIN_EIGHT, KESTRIN_EIGHT
    std::atomic<int> sixtyFour{-2};
    std::atomic<int> sixtyFive{-2};
    WorkerThread([&] {
        sixtyFour = WaitForAny({KESTRIN_SIXTY_FOUR});
        sixtyFive = WaitForAny({KESTRIN_SIXTY_FOUR, h});
    }).Join();
    EXPECT_EQ(sixtyFour.load(), 0);
    EXPECT_EQ(sixtyFive.load(), -1);
    ASSERT_NE(App().SynchronizeEvent(), nullptr);
    EXPECT_EQ(WaitForAny({KESTRIN_SIXTY_FOUR}), -1);
    EXPECT_EQ(WaitForAny({KESTRIN_EIGHT}), 0);
#undef KESTRIN_SIXTY_FOUR
#undef KESTRIN_EIGHT
}

TEST_F(WaitTest, OnTheMainThreadSynchronisedCallsRunWhileItWaits) {
    const KernelHandle done = Event(false);
    std::atomic<bool> ran{false};
    WorkerThread worker([&] {
        App().Synchronize([&] { ran = true; });
        SetEvent(done.get());
    });
    EXPECT_EQ(WaitForAny({done.get()}), 0);
    EXPECT_TRUE(ran.load());
}

}  // namespace
}  // namespace kestrin::test
