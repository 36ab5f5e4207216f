// The keyboard of a form (the members of Form that handle it): a dialog's
// keys for a window that is not a dialog. Tab and the arrows move the focus,
// Enter presses the focused push button or the default one, the focus comes
// back to where it was when the form is active again; keys a control claims
// (WM_GETDLGCODE) stay with it. Characters reach the form's handlers as
// cp932 bytes, F1 the help of the form's help context.
#include <windows.h>

#include "framework/application.h"
#include "framework/dialog_button.h"
#include "framework/form.h"

namespace kestrin {

namespace {

bool IsDialogKey(WPARAM key) {
    return key == VK_TAB || (key >= VK_LEFT && key <= VK_DOWN) || key == VK_RETURN || key == VK_ESCAPE;
}

bool IsUsable(HWND window) { return window && IsWindowEnabled(window) && IsWindowVisible(window); }

// Presses a button the way a click does, so that the form's routing (modal
// result, OnClick) runs exactly as for the mouse.
bool ClickButton(HWND button) {
    if (!IsUsable(button)) return false;
    SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
    return true;
}

}  // namespace

bool Form::PreTranslateMessage(MSG& message) {
    const bool onForm = message.hwnd == Handle();
    if (message.message == WM_CHAR) {
        if (!onForm) return false;
        // The loop takes characters in UTF-16; the form's handlers judge a
        // cp932 byte. One that is no single byte goes to the window as it is.
        wchar_t unit = static_cast<wchar_t>(message.wParam);
        char key = '\0';
        BOOL lacking = FALSE;
        if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &unit, 1, &key, 1, nullptr, &lacking) != 1 || lacking)
            return false;
        FormKeyPress(key);
        if (key == '\0') return true;
        MultiByteToWideChar(CP_ACP, 0, &key, 1, &unit, 1);
        message.wParam = unit;
        return false;
    }
    WORD key = static_cast<WORD>(message.wParam);
    const ShiftState shift =
        KeyboardShiftState(message.message == WM_SYSKEYDOWN && (message.lParam & (1 << 29)) != 0);
    // Dialog keys first: what the form handles as one goes no further.
    if (message.message == WM_KEYDOWN && IsDialogKey(key) && !ControlWantsKey(message) && DialogKey(key, shift))
        return true;
    if (onForm) {
        FormKeyDown(key, shift);
        if (key == 0) return true;
        message.wParam = key;
    }
    if (key == VK_F1 && helpContext_) {
        App().HelpCommand(HELP_CONTEXT, helpContext_);
        return true;
    }
    return false;
}

HWND Form::DefaultButton() const {
    for (const auto& control : controls_) {
        const DialogButton* button = control->AsDialogButton();
        if (button && button->IsDefault() && IsUsable(control->Handle())) return control->Handle();
    }
    return nullptr;
}

bool Form::ControlWantsKey(const MSG& message) const {
    if (message.hwnd == Handle()) return false;
    const WORD key = static_cast<WORD>(message.wParam);
    if (const Control* control = Control::FromHandle(message.hwnd)) return control->WantsKey(key);
    return KeyWantedByWindow(message.hwnd, key);
}

bool Form::DialogKey(WORD key, ShiftState shift) {
    switch (key) {
        case VK_TAB:
            if (shift & (ssCtrl | ssAlt)) return false;
            SelectNext((shift & ssShift) == 0, true);
            return true;
        case VK_LEFT:
        case VK_UP:
            SelectNext(false, false);
            return true;
        case VK_RIGHT:
        case VK_DOWN:
            SelectNext(true, false);
            return true;
        case VK_RETURN: {
            HWND focus = GetFocus();
            HWND target = nullptr;
            if (focus && IsChild(Handle(), focus) &&
                (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)))
                target = focus;
            if (!target) target = DefaultButton();
            if (!target) return false;
            ClickButton(target);
            return true;
        }
        default:
            return false;
    }
}

void Form::SelectNext(bool forward, bool tabStopsOnly) {
    HWND focus = GetFocus();
    if (focus && !IsChild(Handle(), focus)) focus = nullptr;
    HWND next = tabStopsOnly ? GetNextDlgTabItem(Handle(), focus, forward ? FALSE : TRUE)
                             : GetNextDlgGroupItem(Handle(), focus, forward ? FALSE : TRUE);
    if (!next || next == focus || !IsChild(Handle(), next)) return;
    // As a dialog does: an edit that gets the focus by keyboard has its text selected.
    if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(next, EM_SETSEL, 0, -1);
    SetFocus(next);
}

bool Form::PressDefaultButton() { return ClickButton(DefaultButton()); }

void Form::SaveFocus() {
    HWND focus = GetFocus();
    if (focus && IsChild(Handle(), focus)) savedFocus_ = focus;
}

bool Form::RestoreFocus() {
    HWND target = savedFocus_;
    if (!target || !IsWindow(target) || !IsChild(Handle(), target) || !IsUsable(target))
        target = GetNextDlgTabItem(Handle(), nullptr, FALSE);
    if (!target || !IsChild(Handle(), target) || !IsUsable(target)) return false;
    SetFocus(target);
    return true;
}

}  // namespace kestrin
