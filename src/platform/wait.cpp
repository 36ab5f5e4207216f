#include "platform/wait.h"

#include <vector>

#include "platform/application.h"

namespace kestrin {

namespace {
constexpr DWORD kTickPollMs = 10;
}  // namespace

int WaitForAny(std::initializer_list<HANDLE> handles) {
    std::vector<HANDLE> waited;
    std::vector<int> indexOf;
    int index = 0;
    for (HANDLE handle : handles) {
        if (handle) {
            waited.push_back(handle);
            indexOf.push_back(index);
        }
        ++index;
    }
    if (waited.empty()) return -1;
    const auto count = static_cast<DWORD>(waited.size());
    if (!App().IsMainThread()) {
        const DWORD result = WaitForMultipleObjects(count, waited.data(), FALSE, INFINITE);
        return result < WAIT_OBJECT_0 + count ? indexOf[result - WAIT_OBJECT_0] : -1;
    }
    if (HANDLE queued = App().SynchronizeEvent()) waited.push_back(queued);
    const auto all = static_cast<DWORD>(waited.size());
    for (;;) {
        App().CheckSynchronize();
        const DWORD result = MsgWaitForMultipleObjects(all, waited.data(), FALSE, INFINITE, QS_SENDMESSAGE);
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
    while (GetTickCount() - start < ms) {
        if (mode == TickWait::HandleMessages) App().ProcessMessages();
        Sleep(kTickPollMs);
    }
}

}  // namespace kestrin
