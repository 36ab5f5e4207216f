#include "framework/application.h"

#include <mutex>
#include <utility>

#include "win32/common_controls.h"
#include "win32/diagnostics.h"
#include "win32/main_thread.h"
#include "framework/portable/messages.h"
#include "win32/portable/error.h"
#include "framework/window_class.h"

namespace kestrin {

namespace {

constexpr char kApplicationClass[] = "TApplication";
constexpr char kFallbackCaption[] = "Kestrin";

}  // namespace

Application& App() {
    static Application application;
    return application;
}

Application::Application()
    : WindowBinding(wkApplication, &DispatchTo<Application>),
      mainThreadId_(GetCurrentThreadId()), syncEvent_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
    RequireStartingThread("Kestrin: the application was first reached off the main thread.");
    SetUnhandledReporter([](std::exception_ptr error) noexcept { App().HandleException(std::move(error)); });
}

Application::~Application() {
    // Forms still waiting for release go with the process; their windows
    // belong to this thread only if it is the main thread.
    std::vector<PendingRelease> pending = std::move(releases_);
    for (auto& entry : pending) {
        if (IsMainThread()) entry.form->Destroy();
        entry.form.reset();
    }
    // The members go next: nothing may reach the object through its window.
    Unbind();
}

void Application::Initialize(HINSTANCE instance) {
    if (Initialized()) return;
    instance_ = instance ? instance : GetModuleHandleA(nullptr);
    mainThreadId_.store(GetCurrentThreadId());

    WindowClassDescription windowClass;
    windowClass.name = kApplicationClass;
    windowClass.procedure = &WindowBinding::Procedure;
    windowClass.icon = ProgramIcon();
    windowClass.smallIcon = ProgramIcon();  // shown nowhere: not worth loading
    EnsureWindowClass(windowClass);
    // Hidden and of no size: it only owns the forms (so that they have no
    // taskbar buttons of their own) and receives the framework's messages.
    // Never shown, so no system menu (the system would make and keep one).
    HWND window = CreateWindowExA(0, kApplicationClass, title_.c_str(),
                                  WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_MINIMIZEBOX,
                                  GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                                  nullptr, instance_, static_cast<WindowBinding*>(this));
    if (!window) throw KestrinError::Format("ウィンドウ %s を作成できません。", kApplicationClass, GetLastError());
    // The program's first window, for a debugger (and the benchmark).
    Trace("first window");
}

void Application::SetTitle(std::string title) {
    title_ = std::move(title);
    if (Handle()) SetWindowTextA(Handle(), title_.c_str());
}

LRESULT Application::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kSynchronizeMessage:
            CheckSynchronize();
            return 0;
        case kShowLaterErrorsMessage: {
            std::vector<std::exception_ptr> errors = std::move(laterErrors_);
            laterErrors_.clear();
            for (auto& error : errors) HandleException(error);
            return 0;
        }
        case WM_CLOSE:
            // Closing the application (from the system menu of its button)
            // means closing the main form.
            if (mainForm_)
                mainForm_->Close();
            else
                Terminate();
            return 0;
        default:
            return DefWindowProcA(Handle(), message, wParam, lParam);
    }
}

void Application::Terminate() noexcept {
    terminated_.store(true);
    Wake();
}

void Application::Wake() noexcept {
    // A posted message ends the wait of the loop, whichever thread asks.
    if (HWND window = Handle())
        PostMessageA(window, WM_NULL, 0, 0);
    else if (DWORD thread = mainThreadId_.load())
        PostThreadMessageA(thread, WM_NULL, 0, 0);
}

int Application::CurrentLoopLevel() noexcept {
    const int depth = HandlerScope::Depth();
    return depth == 0 ? -1 : depth;
}

void Application::Run() {
    ProcessReleases(-1);
    if (mainForm_ && showMainForm_) mainForm_->Show();
    while (!Terminated()) {
        if (!PumpOne(-1)) Idle(-1);
    }
    CheckSynchronize();
    ProcessReleases(-1);
}

void Application::ProcessMessages() {
    const int level = CurrentLoopLevel();
    while (PumpOne(level)) {
    }
    ProcessReleases(level);
}

void Application::HandleMessage() {
    const int level = CurrentLoopLevel();
    if (!PumpOne(level)) Idle(level);
}

bool Application::PumpOne(int level) {
    MSG message;
    // Taken in UTF-16, as the system queues them: taken in cp932, a character
    // typed into a system control (a Unicode window) that cp932 lacks would
    // be lost, or bent into the system's best fit, before the control saw it.
    // Our own windows (ANSI) get it in cp932 from the dispatch.
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return false;
    if (message.message == WM_QUIT) {
        terminated_.store(true);
        return true;
    }
    if (!PreTranslate(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
        AfterDispatch(message);
    }
    ProcessReleases(level);
    return true;
}

void Application::Idle(int level) {
    CheckSynchronize();
    ProcessReleases(level);
    if (Terminated()) return;
    HANDLE event = syncEvent_.get();
    MsgWaitForMultipleObjectsEx(event ? 1 : 0, event ? &event : nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

bool Application::PreTranslate(MSG& message) {
    switch (message.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_CHAR:
            break;
        default:
            return false;
    }
    TopLevelWindow* form = TopLevelWindow::FromChild(message.hwnd);
    if (!form) return false;
    HandlerScope scope;
    try {
        return form->PreTranslateMessage(message);
    } catch (...) {
        HandleException(std::current_exception());
        return true;
    }
}

void Application::AfterDispatch(const MSG& message) {
    switch (message.message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            break;
        default:
            return;
    }
    // The press may have closed the form that received it.
    if (!IsWindow(message.hwnd)) return;
    TopLevelWindow* form = TopLevelWindow::FromChild(message.hwnd);
    if (!form) return;
    HandlerScope scope;
    try {
        form->MouseDownDispatched(message);
    } catch (...) {
        HandleException(std::current_exception());
    }
}

bool Application::HelpCommand(uint16_t command, uint32_t data) {
    if (!helpHandler_) return false;
    // A copy: the handler may install another one while it runs.
    const HelpHandler handler = helpHandler_;
    return handler(command, data);
}

void Application::ReleaseLater(std::unique_ptr<TopLevelWindow> form) {
    if (!form) return;
    for (const auto& entry : releases_) {
        if (entry.form.get() == form.get()) {
            // Two owners of one form would mean a double delete later on.
            (void)form.release();
            return;
        }
    }
    releases_.push_back({std::move(form), HandlerScope::Depth()});
}

void Application::ProcessReleases(int level) {
    if (releases_.empty()) return;
    // Take the due entries out first: destroying a form runs its handlers,
    // which may ask for further releases.
    std::vector<std::unique_ptr<TopLevelWindow>> due;
    for (auto it = releases_.begin(); it != releases_.end();) {
        if (it->depth > level && !it->form->InModalLoop()) {
            due.push_back(std::move(it->form));
            it = releases_.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& form : due) {
        HandlerScope scope;
        try {
            form->Destroy();
        } catch (...) {
            HandleException(std::current_exception());
        }
        form.reset();
    }
}

void Application::Synchronize(std::function<void()> call) {
    if (IsMainThread()) {
        call();
        return;
    }
    SyncCall entry{std::move(call), nullptr, false};
    {
        std::lock_guard lock(syncMutex_);
        syncQueue_.push_back(&entry);
    }
    SetEvent(syncEvent_.get());
    if (HWND window = Handle()) PostMessageA(window, kSynchronizeMessage, 0, 0);
    {
        std::lock_guard lock(syncMutex_);
        syncDone_.Wait(syncMutex_, [&] { return entry.done; });
    }
    if (entry.error) std::rethrow_exception(entry.error);
}

bool Application::CheckSynchronize() {
    if (!IsMainThread()) return false;
    std::vector<SyncCall*> batch;
    {
        std::lock_guard lock(syncMutex_);
        batch.swap(syncQueue_);
    }
    for (SyncCall* entry : batch) {
        try {
            entry->call();
        } catch (...) {
            entry->error = std::current_exception();
        }
        {
            // The waiting worker owns the entry; it may be gone right after this.
            std::lock_guard lock(syncMutex_);
            entry->done = true;
        }
        syncDone_.NotifyAll();
    }
    return !batch.empty();
}

void Application::HandleExceptionLater(std::exception_ptr error) {
    if (!error) return;
    laterErrors_.push_back(std::move(error));
    if (HWND window = Handle()) PostMessageA(window, kShowLaterErrorsMessage, 0, 0);
}

std::string Application::MessageCaption() const { return title_.empty() ? std::string(kFallbackCaption) : title_; }

void Application::HandleException(std::exception_ptr error) noexcept {
    if (!error) return;
    TraceError("error", error);
    try {
        std::string text = "Unknown exception";
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            text = e.what();
        } catch (...) {
        }
        // To the front: an error at start-up (at logon, say) has no window of
        // the program's in front to stand on, and the box no taskbar button.
        ShowMessageBox(text, MessageCaption(), MB_ICONERROR | MB_SETFOREGROUND);
    } catch (...) {
        // The report itself failed (no memory for the text): nothing is left
        // to tell the user with, and the loop must go on.
        TraceError("error not shown");
    }
}

int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags) {
    HWND owner = nullptr;
    if (App().IsMainThread()) {
        owner = GetActiveWindow();
        if (!owner) owner = App().Handle();
    }
    // The box's buttons are common controls: loaded here, they go with the box.
    const CommonControls buttons = CommonControls::Hold();
    return MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

}  // namespace kestrin
