#include "win32/worker_thread.h"

#include <process.h>

#include "win32/portable/error.h"
#include "win32/thread_stack.h"

namespace kestrin {

void WorkerThread::Begin(std::unique_ptr<Runnable> task) {
    unsigned id = 0;
    // The C run-time's own start, since the body may use the run-time.
    const uintptr_t handle = _beginthreadex(nullptr, 0, &WorkerThread::Entry, task.get(), 0, &id);
    if (!handle) throw KestrinError("スレッドを作成できません。", GetLastError());
    (void)task.release();  // the worker owns it now
    handle_.reset(reinterpret_cast<HANDLE>(handle));
    id_ = id;
}

unsigned __stdcall WorkerThread::Entry(void* task) noexcept {
    ReleaseUnusedStack();
    std::unique_ptr<Runnable>(static_cast<Runnable*>(task))->Run();
    return 0;
}

void WorkerThread::Join() noexcept {
    if (!handle_ || GetCurrentThreadId() == id_) return;
    WaitForSingleObject(handle_.get(), INFINITE);
    handle_.reset();
    id_ = 0;
}

void WorkerThread::Detach() noexcept {
    handle_.reset();
    id_ = 0;
}

}  // namespace kestrin
