#include "framework/dialog_keys.h"

#include "framework/control.h"

namespace kestrin {

bool IsDialogKey(WPARAM key) {
    return key == VK_TAB || (key >= VK_LEFT && key <= VK_DOWN) || key == VK_RETURN || key == VK_ESCAPE;
}

bool ControlWantsKey(HWND form, const MSG& message) {
    if (message.hwnd == form) return false;
    const WORD key = static_cast<WORD>(message.wParam);
    if (const Control* control = Control::FromHandle(message.hwnd)) return control->WantsKey(key);
    return KeyWantedByWindow(message.hwnd, key);
}

bool HandleDialogKey(HWND form, WORD key, ShiftState shift, HWND defaultButton) {
    switch (key) {
        case VK_TAB:
            if (shift & (ssCtrl | ssAlt)) return false;
            SelectNextControl(form, (shift & ssShift) == 0, true);
            return true;
        case VK_LEFT:
        case VK_UP:
            SelectNextControl(form, false, false);
            return true;
        case VK_RIGHT:
        case VK_DOWN:
            SelectNextControl(form, true, false);
            return true;
        case VK_RETURN: {
            HWND focus = GetFocus();
            HWND target = nullptr;
            if (focus && IsChild(form, focus) &&
                (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)))
                target = focus;
            if (!target) target = defaultButton;
            if (!target) return false;
            ClickButton(target);
            return true;
        }
        default:
            return false;
    }
}

void SelectNextControl(HWND form, bool forward, bool tabStopsOnly) {
    HWND focus = GetFocus();
    if (focus && !IsChild(form, focus)) focus = nullptr;
    HWND next = tabStopsOnly ? GetNextDlgTabItem(form, focus, forward ? FALSE : TRUE)
                             : GetNextDlgGroupItem(form, focus, forward ? FALSE : TRUE);
    if (!next || next == focus || !IsChild(form, next)) return;
    // As a dialog does: an edit that gets the focus by keyboard has its text selected.
    if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(next, EM_SETSEL, 0, -1);
    SetFocus(next);
}

bool ClickButton(HWND button) {
    if (!IsUsable(button)) return false;
    // The notification a click sends, so that the form's routing (modal
    // result, OnClick) runs exactly as for the mouse.
    SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
    return true;
}

bool IsUsable(HWND window) { return window && IsWindowEnabled(window) && IsWindowVisible(window); }

HWND FocusedChild(HWND form) {
    HWND focus = GetFocus();
    return focus && IsChild(form, focus) ? focus : nullptr;
}

bool FocusAgain(HWND form, HWND saved) {
    HWND target = saved;
    if (!target || !IsWindow(target) || !IsChild(form, target) || !IsUsable(target))
        target = GetNextDlgTabItem(form, nullptr, FALSE);
    if (!target || !IsChild(form, target) || !IsUsable(target)) return false;
    SetFocus(target);
    return true;
}

}  // namespace kestrin
