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

struct TaskWindowSearch {
    HWND modal;
    HWND owner;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTaskWindow(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<TaskWindowSearch*>(context);
    if (window != search.modal && IsWindowEnabled(window) &&
        (IsWindowVisible(window) || window == search.owner || window == App().Handle()))
        search.found.push_back(window);
    return TRUE;
}

// The windows a modal form takes the input from, disabled: the visible,
// enabled top-level windows of the thread, its owner and the application window.
std::vector<HWND> DisableTaskWindows(HWND modal, HWND owner) {
    TaskWindowSearch search{modal, owner, {}};
    EnumThreadWindows(GetCurrentThreadId(), &CollectTaskWindow, reinterpret_cast<LPARAM>(&search));
    for (HWND window : search.found) EnableWindow(window, FALSE);
    return search.found;
}

}  // namespace

int Form::ShowModal() {
    if (!Handle()) Create();
    if (inModal_) throw KestrinError("ShowModal on a form that is already modal");
    HWND previousActive = GetActiveWindow();
    modalResult_ = mrNone;
    {
        inModal_ = true;
        const ScopeExit modalOver([this] { inModal_ = false; });
        // Given back however the loop ends, also when it throws.
        const std::vector<HWND> disabled = DisableTaskWindows(Handle(), GetWindow(Handle(), GW_OWNER));
        const ScopeExit enable([&disabled] {
            for (auto it = disabled.rbegin(); it != disabled.rend(); ++it)
                if (IsWindow(*it)) EnableWindow(*it, TRUE);
        });
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
