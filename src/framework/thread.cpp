#include "framework/thread.h"

#include <process.h>

#include "framework/application.h"
#include "framework/wait.h"
#include "win32/diagnostics.h"
#include "win32/portable/error.h"
#include "win32/thread_stack.h"

namespace kestrin {

Thread::Thread() {
    // Suspended until Start: the derived object is not complete yet.
    unsigned id = 0;
    const uintptr_t handle = _beginthreadex(nullptr, 0, &Thread::Entry, this, CREATE_SUSPENDED, &id);
    if (!handle) throw KestrinError("スレッドを作成できません。", GetLastError());
    handle_.reset(reinterpret_cast<HANDLE>(handle));
    threadId_ = id;
}

Thread::~Thread() {
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

void Thread::WaitFor() {
    HANDLE thread = handle_.get();
    if (!thread || GetCurrentThreadId() == threadId_) return;
    Start();
    // On the main thread the end handler, synchronised with it, runs during the wait.
    if (WaitForAny({thread}) != 0) WaitForSingleObject(thread, INFINITE);
}

void Thread::TerminateAndWait() {
    if (!handle_ || GetCurrentThreadId() == threadId_) return;
    Terminate();
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
            // The thread ends; the process goes on.
            TraceError("thread ended by");
        }
    }
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
            TraceError("thread's end handler lost");
        }
    }
    return 0;
}

}  // namespace kestrin
