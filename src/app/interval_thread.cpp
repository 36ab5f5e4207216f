#include "app/interval_thread.h"

#include <exception>
#include <utility>

#include "framework/application.h"
#include "framework/wait.h"
#include "win32/portable/scope_exit.h"

namespace kestrin {

namespace {

constexpr DWORD kTickMs = 1000;

// Set by the interval thread for itself, as its loop starts.
thread_local bool tlsIntervalThread = false;

// The interval thread owns no windows; whatever reaches its queue (a timer
// of a component used by a pass, say) is dispatched and nothing else.
void HandleThreadMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

void EventIntervalClock::WaitOneSecond() {
    if (!event_) {
        HandleThreadMessages();
        Sleep(kTickMs);
        return;
    }
    for (;;) {
        const DWORD result = WaitForSingleObject(event_, kTickMs);
        if (result == WAIT_OBJECT_0) {
            HandleThreadMessages();
            continue;
        }
        // A failed wait returns at once; sleeping keeps the count in seconds.
        if (result == WAIT_FAILED) Sleep(kTickMs);
        break;
    }
    // Only this thread waits on the event, so setting it here rather than at
    // the very end of the cycle makes no difference to anyone.
    SetEvent(event_);
}

TTThread::TTThread(SharedState& state, std::function<void()> compact, std::unique_ptr<IntervalClock> clock,
                   uint32_t pauses)
    : state_(state), compact_(std::move(compact)), clock_(std::move(clock)) {
    SetOnTerminate([this] { ThreadEnded(); });
    intervalEvent_.reset(CreateEventA(nullptr, FALSE, TRUE, nullptr));
    if (!clock_) clock_ = std::make_unique<EventIntervalClock>(intervalEvent_.get());
    endingEvent_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    state_.SecondsElapsed = 0;
    for (uint32_t i = 0; i < pauses; ++i) gate_.Pause();
    Start();
}

TTThread::~TTThread() {
    if (IsCallingThread()) return;
    // Execute and the end handler use this object's members: both must be
    // over before the members go (the base would wait too late).
    if (!Finished()) RequestStop();
    TerminateAndWait();
}

bool TTThread::IsCallingThread() noexcept { return tlsIntervalThread; }

void TTThread::Pause() { gate_.Pause(); }

void TTThread::Resume() { gate_.Resume(); }

bool TTThread::Paused() const { return gate_.Paused(); }

bool TTThread::HeldByPause() const { return gate_.HeldThreads() != 0; }

void TTThread::RequestStop() {
    state_.StopRequested = true;
    gate_.Wake();
}

void TTThread::Execute() {
    tlsIntervalThread = true;
    const ScopeExit ending([this] { MarkEnding(); });
    RunIntervalLoop(state_, *clock_, gate_, [this] { RunPass(); });
}

void TTThread::RunPass() {
    // A pause that came while the batch runs holds it before its next pass;
    // a stop meanwhile drops the rest of the batch.
    if (gate_.Paused()) {
        gate_.WaitWhilePaused(state_.StopRequested);
        if (state_.StopRequested) return;
    }
    try {
        compact_();
    } catch (...) {
        // A pass reports its own failures; anything else is shown like any
        // error that reaches the top, and the thread goes on counting.
        ReportUnhandled(std::current_exception());
    }
}

void TTThread::MarkEnding() noexcept {
    ending_.store(true);
    if (endingEvent_) SetEvent(endingEvent_.get());
}

void TTThread::WaitUntilEnding() {
    if (IsCallingThread()) return;
    while (!ending_.load()) {
        // The thread ends only after its mark, so its end will do where the
        // mark has no event; gone already (or nothing to wait on): the join
        // that follows keeps the order all the same.
        if (WaitForAny({endingEvent_.get(), Handle()}) != 0) break;
    }
}

void TTThread::ThreadEnded() { intervalEvent_.reset(); }

void StopIntervalThreadAndWait(std::unique_ptr<TTThread>& thread) {
    if (!thread) return;
    thread->RequestStop();
    thread->WaitUntilEnding();
    // The end handler runs here, on this thread, while the object is whole.
    thread->WaitFor();
    thread.reset();
}

}  // namespace kestrin
