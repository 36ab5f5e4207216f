#include "framework/thread.h"

#include <process.h>

#include "framework/application.h"
#include "framework/wait.h"
#include "win32/portable/error.h"
#include "win32/thread_stack.h"

namespace kestrin {

Thread::Thread() {
    // Suspended until Start: the derived object is not complete yet.
    unsigned id = 0;
    const uintptr_t handle = _beginthreadex(nullptr, 0, &Thread::Entry, this, CREATE_SUSPENDED, &id);
    if (!handle) throw KestrinError("スレッドを作成できません。");
    handle_.reset(reinterpret_cast<HANDLE>(handle));
    threadId_ = id;
}

Thread::~Thread() {
    // A thread that frees itself is deleted on its own thread, at its very end.
    if (GetCurrentThreadId() == threadId_) return;
    // The derived part is gone already: a thread that never ran must not
    // call into it now.
    if (!started_.load()) skipExecute_.store(true);
    TerminateAndWait();
}

void Thread::Start() {
    bool expected = false;
    if (!started_.compare_exchange_strong(expected, true)) return;
    ResumeThread(handle_.get());
}

DWORD Thread::Suspend() {
    const DWORD previous = SuspendThread(handle_.get());
    if (previous != static_cast<DWORD>(-1)) suspendCount_.fetch_add(1);
    return previous;
}

DWORD Thread::Resume() {
    int count = suspendCount_.load();
    do {
        // Nothing of ours to undo; in particular the hold until Start stays.
        if (count <= 0) return 0;
    } while (!suspendCount_.compare_exchange_weak(count, count - 1));
    return ResumeThread(handle_.get());
}

DWORD Thread::WaitFor() {
    HANDLE thread = handle_.get();
    if (!thread || GetCurrentThreadId() == threadId_) return static_cast<DWORD>(-1);
    Start();
    // On the main thread the end handler, synchronised with it, runs during the wait.
    if (WaitForAny({thread}) != 0) WaitForSingleObject(thread, INFINITE);
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    return code;
}

void Thread::TerminateAndWait() {
    if (!handle_ || GetCurrentThreadId() == threadId_) return;
    Terminate();
    while (suspendCount_.load() > 0) Resume();
    WaitFor();
}

unsigned __stdcall Thread::Entry(void* context) {
    ReleaseUnusedStack();
    auto* self = static_cast<Thread*>(context);
    const bool run = !self->skipExecute_.load();
    if (run) {
        try {
            self->Execute();
        } catch (...) {
            self->fatal_ = std::current_exception();
        }
    }
    const DWORD result = self->returnValue_;
    self->finished_.store(true);
    if (run && self->onTerminate_) {
        try {
            App().Synchronize([self] {
                try {
                    self->onTerminate_();
                } catch (...) {
                    App().HandleException(std::current_exception());
                }
            });
        } catch (...) {
            // Queueing failed (no memory): the end handler is lost, the thread still ends.
        }
    }
    if (self->freeOnTerminate_.load()) delete self;
    return result;
}

}  // namespace kestrin
