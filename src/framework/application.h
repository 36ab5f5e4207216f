#pragma once
// The one application object of the process: its hidden top-level window
// (class "TApplication", the owner of every form), the message loop, the
// top-level error handler, the help dispatch, deferred release of forms and
// calls marshalled from worker threads onto the main thread.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "win32/condition.h"
#include "framework/handler_guard.h"
#include "win32/handles.h"
#include "win32/lock.h"
#include "framework/top_level_window.h"
#include "framework/window_binding.h"

namespace kestrin {

class Application : public WindowBinding {
public:
    using HelpHandler = std::function<bool(uint16_t command, uint32_t data)>;

    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Creates the application window on the calling thread, which becomes the
    // main thread. A second call does nothing.
    void Initialize(HINSTANCE instance);
    bool Initialized() const noexcept { return Handle() != nullptr; }

    HINSTANCE Instance() const noexcept { return instance_; }
    bool IsMainThread() const noexcept { return GetCurrentThreadId() == mainThreadId_.load(); }

    // Caption of the application window; also the caption of error boxes
    // (ProductTitle when it is empty).
    void SetTitle(std::string title);
    // The caption of the application's own message boxes: the title, or
    // ProductTitle when it is empty.
    std::string MessageCaption() const;

    // Destroying the main form ends the message loop.
    void SetMainForm(TopLevelWindow* form) noexcept { mainForm_ = form; }
    TopLevelWindow* MainForm() const noexcept { return mainForm_; }
    // Whether Run shows the main form first (it does by default).
    void SetShowMainForm(bool show) noexcept { showMainForm_ = show; }

    // The message loop of the main thread; returns once Terminate was asked
    // for (at once if that happened before). Releases asked for before it
    // starts are carried out first, and those still pending before it returns.
    void Run();
    // Asks every message loop of the application to end. Any thread may call it.
    void Terminate() noexcept;
    bool Terminated() const noexcept { return terminated_.load(); }
    // Forgets an earlier Terminate, for a host that runs the loop again.
    void ResetTerminated() noexcept { terminated_.store(false); }

    // Handles every message waiting for the calling thread, then returns.
    void ProcessMessages();
    // Handles one message, or waits for the next event when there is none
    // (the building block of nested modal loops).
    void HandleMessage();

    void SetHelpHandler(HelpHandler handler) { helpHandler_ = std::move(handler); }
    // Hands a help request to the help handler; false when there is none.
    bool HelpCommand(uint16_t command, uint32_t data);

    // Deferred release. The form is destroyed (window, then object) by the
    // first message loop that runs below the handler that asked: the main
    // loop, or a nested loop (ProcessMessages, ShowModal) entered by an outer
    // handler, e.g. while a dialog is modal. Never while the asking handler,
    // or a loop it runs itself, is still on the stack; never while the form
    // is in its own modal loop. Code outside every window procedure (start-up,
    // tests) counts as below all handlers, so its own loops carry it out.
    void ReleaseLater(std::unique_ptr<TopLevelWindow> form);

    // Runs the call on the main thread. From a worker thread: queues it,
    // wakes the main thread and blocks until it has run there; an exception
    // it throws is thrown again here. On the main thread: runs it at once.
    void Synchronize(std::function<void()> call);
    // Runs the queued calls (main thread only); true when any ran.
    bool CheckSynchronize();
    // Signalled whenever a call is queued (for waits on the main thread).
    HANDLE SynchronizeEvent() const noexcept { return syncEvent_.get(); }

    // The top-level error handler, where every error that reaches the user
    // ends, from any thread: traces it (with its system error code and
    // place), shows its message in a message box with the error icon,
    // brought to the front, on the calling thread, and lets the loop go on.
    void HandleException(std::exception_ptr error) noexcept;
    template <typename Error>
    void HandleException(const Error& error) noexcept {
        HandleException(std::make_exception_ptr(error));
    }
    // For errors met where a message box would come at the wrong moment
    // (start-up, a splash still up): shown by the main loop once it runs,
    // after the releases asked for before.
    void HandleExceptionLater(std::exception_ptr error);

private:
    struct PendingRelease {
        std::unique_ptr<TopLevelWindow> form;
        int depth;
    };
    struct SyncCall {
        std::function<void()> call;
        std::exception_ptr error;
        bool done = false;
    };

    friend class WindowBinding;
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    // One turn of a loop whose level is `level` (see ReleaseLater).
    bool PumpOne(int level);
    void Idle(int level);
    static int CurrentLoopLevel() noexcept;
    bool PreTranslate(MSG& message);
    void AfterDispatch(const MSG& message);
    void ProcessReleases(int level);
    void Wake() noexcept;

    HINSTANCE instance_ = nullptr;
    std::atomic<DWORD> mainThreadId_;
    std::string title_;
    TopLevelWindow* mainForm_ = nullptr;
    bool showMainForm_ = true;
    std::atomic<bool> terminated_{false};
    HelpHandler helpHandler_;
    std::vector<PendingRelease> releases_;
    std::vector<std::exception_ptr> laterErrors_;

    KernelHandle syncEvent_;
    Lock syncMutex_;
    Condition syncDone_;
    std::vector<SyncCall*> syncQueue_;
};

Application& App();

// A modal message box, text and caption in cp932; the one way the program
// shows one. On the main thread the box is owned by the thread's active
// window, or the application window when none is active, so that it stays
// in front of the program's windows and disables them meanwhile; on other
// threads it has no owner (a window of another thread must not be disabled
// from here). Safe to call from any thread. Returns the button pressed (IDOK, ...).
int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags);

}  // namespace kestrin
