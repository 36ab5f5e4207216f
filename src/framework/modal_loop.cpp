#include "framework/modal_loop.h"

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

int ModalLoop::Run(Form& form) {
    if (!form.Handle()) form.Create();
    if (form.inModal_) throw KestrinError("ShowModal on a form that is already modal");
    HWND previousActive = GetActiveWindow();
    form.modalResult_ = mrNone;
    {
        form.inModal_ = true;
        const ScopeExit modalOver([&form] { form.inModal_ = false; });
        TaskWindowsDisabled disabled(form.Handle(), GetWindow(form.Handle(), GW_OWNER));
        form.Show();
        // The one way a modal form ends: a modal result (a button's, one set
        // by the form, or the cancel of a close) that its close query allows.
        for (;;) {
            if (!form.Handle() || App().Terminated()) break;
            if (form.modalResult_ != mrNone) {
                bool canClose = true;
                form.FormCloseQuery(canClose);
                if (canClose) {
                    form.FormClose();
                    break;
                }
                form.modalResult_ = mrNone;
            }
            App().HandleMessage();
        }
        // The other windows are enabled again before this one hides, so that
        // the activation goes back to them and not to another program.
    }
    form.Hide();
    if (previousActive && previousActive != form.Handle() && IsWindow(previousActive))
        SetActiveWindow(previousActive);
    return form.modalResult_;
}

}  // namespace kestrin
