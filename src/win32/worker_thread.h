#pragma once
// A system thread that runs one function object, for workers that need none
// of Thread's machinery (start after construction, an end handler on the
// main thread). The body starts at once and is destroyed on
// the worker when it returns; an exception that escapes it ends the process,
// as it would on a std::thread. Its owner waits for it (Join, or the
// destructor) or lets it go (Detach).
#include <windows.h>

#include <memory>
#include <utility>

#include "win32/handles.h"

namespace kestrin {

class WorkerThread {
public:
    WorkerThread() noexcept = default;
    // Throws KestrinError when the system makes no thread.
    template <typename Body>
    explicit WorkerThread(Body body) {
        Begin(std::make_unique<Task<Body>>(std::move(body)));
    }
    // Waits for a thread that was neither joined nor let go.
    ~WorkerThread() { Join(); }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Waits until the body has returned. Nothing to wait for on the worker
    // itself (it would wait for ever) or when there is no thread.
    void Join() noexcept;
    // The thread runs on by itself; the object no longer stands for it.
    void Detach() noexcept;

private:
    struct Runnable {
        virtual ~Runnable() = default;
        virtual void Run() = 0;
    };
    template <typename Body>
    struct Task final : Runnable {
        explicit Task(Body&& body) : body(std::move(body)) {}
        void Run() override { body(); }
        Body body;
    };

    void Begin(std::unique_ptr<Runnable> task);
    static unsigned __stdcall Entry(void* task) noexcept;

    KernelHandle handle_;
    DWORD id_ = 0;
};

}  // namespace kestrin
