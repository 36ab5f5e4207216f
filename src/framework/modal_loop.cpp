// The modal loop of a form (Form::ShowModal): the other windows of the
// thread disabled, a nested message loop until the form has a modal result
// that its close query lets through, its window is gone, or the application
// ends.
#include <windows.h>

#include <vector>

#include "framework/application.h"
#include "framework/form.h"
#include "win32/portable/error.h"
#include "win32/portable/scope_exit.h"

namespace kestrin {

namespace {

// The windows a modal form takes the input from: the visible, enabled
// top-level windows of the thread, its owner and the application window.
// Given back when the object goes, so also when the modal loop throws.
class TaskWindowsDisabled {
public:
    TaskWindowsDisabled(HWND modal, HWND owner) : modal_(modal), owner_(owner) {
        EnumThreadWindows(GetCurrentThreadId(), &TaskWindowsDisabled::Collect, reinterpret_cast<LPARAM>(this));
        for (HWND window : disabled_) EnableWindow(window, FALSE);
    }
    ~TaskWindowsDisabled() {
        for (auto it = disabled_.rbegin(); it != disabled_.rend(); ++it) {
            if (IsWindow(*it)) EnableWindow(*it, TRUE);
        }
    }
    TaskWindowsDisabled(const TaskWindowsDisabled&) = delete;
    TaskWindowsDisabled& operator=(const TaskWindowsDisabled&) = delete;

private:
    static BOOL CALLBACK Collect(HWND window, LPARAM context) {
        auto* self = reinterpret_cast<TaskWindowsDisabled*>(context);
        if (window == self->modal_ || !IsWindowEnabled(window)) return TRUE;
        if (IsWindowVisible(window) || window == self->owner_ || window == App().Handle())
            self->disabled_.push_back(window);
        return TRUE;
    }

    HWND modal_;
    HWND owner_;
    std::vector<HWND> disabled_;
};

}  // namespace

int Form::ShowModal() {
    if (!Handle()) Create();
    if (inModal_) throw KestrinError("ShowModal on a form that is already modal");
    HWND previousActive = GetActiveWindow();
    modalResult_ = mrNone;
    {
        inModal_ = true;
        const ScopeExit modalOver([this] { inModal_ = false; });
        TaskWindowsDisabled disabled(Handle(), GetWindow(Handle(), GW_OWNER));
        Show();
        // The one way a modal form ends: a modal result (a button's, one set
        // by the form, or the cancel of a close) that its close query allows.
        for (;;) {
            if (!Handle() || App().Terminated()) break;
            if (modalResult_ != mrNone) {
                bool canClose = true;
                FormCloseQuery(canClose);
                if (canClose) {
                    FormClose();
                    break;
                }
                modalResult_ = mrNone;
            }
            App().HandleMessage();
        }
        // The other windows are enabled again before this one hides, so that
        // the activation goes back to them and not to another program.
    }
    Hide();
    if (previousActive && previousActive != Handle() && IsWindow(previousActive))
        SetActiveWindow(previousActive);
    return modalResult_;
}

}  // namespace kestrin
