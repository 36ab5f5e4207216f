#include "support/wait.h"

#include <algorithm>

#include "framework/application.h"

namespace kestrin::test {

namespace {

constexpr DWORD kPollMs = 10;

bool OnApplicationThread() { return App().Initialized() && App().IsMainThread(); }

void HandleMessages() {
    if (OnApplicationThread()) {
        App().ProcessMessages();
        App().CheckSynchronize();
        return;
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Waits up to `ms` for the next poll; with messages, a message or a
// synchronised call ends the wait early.
void Pause(DWORD ms, Pump pump) {
    if (pump == Pump::None) {
        Sleep(ms);
        return;
    }
    HANDLE event = OnApplicationThread() ? App().SynchronizeEvent() : nullptr;
    MsgWaitForMultipleObjectsEx(event ? 1 : 0, event ? &event : nullptr, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

// Polls `stop` for up to `ms`; true as soon as it holds.
bool PollUntil(const std::function<bool()>& stop, DWORD ms, Pump pump) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (pump == Pump::Messages) HandleMessages();
        if (stop()) return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) return false;
        Pause(std::min(kPollMs, ms - elapsed), pump);
    }
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs, Pump pump) {
    return PollUntil(condition, timeoutMs, pump);
}

bool HoldsFor(const std::function<bool()>& condition, DWORD windowMs, Pump pump) {
    return !PollUntil([&] { return !condition(); }, windowMs, pump);
}

}  // namespace kestrin::test
