#pragma once
// A worker thread with a virtual body. The operating-system thread is
// created suspended by the constructor, so that Execute cannot run before the
// derived object is complete; Start() lets it run. A thread that is to run at
// once is started by its most-derived constructor as its last step.
//
// The end handler (SetOnTerminate) runs on the main thread, through
// Application::Synchronize, after Execute has returned.
//
// Destruction: a thread that still runs is asked to terminate and waited
// for. The base destructor runs after the derived one, so a derived class
// whose Execute uses its own members must call TerminateAndWait() in its
// own destructor first.
#include <windows.h>

#include <atomic>
#include <functional>

#include "win32/handles.h"

namespace kestrin {

class Thread {
public:
    Thread();
    virtual ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Lets the thread run for the first time; later calls do nothing.
    void Start();

    // Asks Execute to end; Execute polls Terminated().
    void Terminate() noexcept { terminated_.store(true); }
    bool Terminated() const noexcept { return terminated_.load(); }

    // Runs on the main thread after Execute has returned. Set before Start.
    void SetOnTerminate(std::function<void()> handler) { onTerminate_ = std::move(handler); }

    // Execute has returned (the end handler may still be on its way). What
    // escaped Execute went with it: it never ends the process.
    bool Finished() const noexcept { return finished_.load(); }

    // Waits for the thread's end. On the main thread the wait keeps running
    // synchronised calls (the end handler among them) and messages sent from
    // other threads. A thread that was never started is started first.
    void WaitFor();
    // Terminate, then wait. Safe to call more than once.
    void TerminateAndWait();

    HANDLE Handle() const noexcept { return handle_.get(); }
    DWORD ThreadId() const noexcept { return threadId_; }

protected:
    virtual void Execute() = 0;

private:
    static unsigned __stdcall Entry(void* context);

    KernelHandle handle_;
    DWORD threadId_ = 0;
    std::atomic<bool> started_{false};
    std::atomic<bool> skipExecute_{false};
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    std::function<void()> onTerminate_;
};

}  // namespace kestrin
