#include "framework/wait.h"

#include "framework/application.h"

namespace kestrin {

namespace {
constexpr DWORD kTickPollMs = 10;
}  // namespace

int WaitForAny(std::initializer_list<HANDLE> handles) {
    // The system waits on MAXIMUM_WAIT_OBJECTS handles at most and refuses
    // more; room for one more, the event of the synchronised calls, so that
    // the system is the one that refuses, as it would a longer list.
    HANDLE waited[MAXIMUM_WAIT_OBJECTS + 1];
    int indexOf[MAXIMUM_WAIT_OBJECTS];
    DWORD count = 0;
    int index = 0;
    for (HANDLE handle : handles) {
        if (handle) {
            if (count == MAXIMUM_WAIT_OBJECTS) return -1;
            waited[count] = handle;
            indexOf[count++] = index;
        }
        ++index;
    }
    if (count == 0) return -1;
    if (!App().IsMainThread()) {
        const DWORD result = WaitForMultipleObjects(count, waited, FALSE, INFINITE);
        return result < WAIT_OBJECT_0 + count ? indexOf[result - WAIT_OBJECT_0] : -1;
    }
    DWORD all = count;
    if (HANDLE queued = App().SynchronizeEvent()) waited[all++] = queued;
    for (;;) {
        App().CheckSynchronize();
        const DWORD result = MsgWaitForMultipleObjects(all, waited, FALSE, INFINITE, QS_SENDMESSAGE);
        if (result < WAIT_OBJECT_0 + count) return indexOf[result - WAIT_OBJECT_0];
        if (result == WAIT_OBJECT_0 + all) {
            // Messages sent from other threads are delivered by the peek.
            MSG message;
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
        } else if (result != WAIT_OBJECT_0 + count) {
            return -1;  // WAIT_FAILED; the queued-call event just loops
        }
    }
}

void WaitTicks(uint32_t ms, TickWait mode) {
    const DWORD start = GetTickCount();
    // An unsigned difference: right across the counter's wrap after 49.7 days.
    while (GetTickCount() - start < ms) {
        if (mode == TickWait::HandleMessages) App().ProcessMessages();
        Sleep(kTickPollMs);
    }
}

}  // namespace kestrin
