#include "framework/check_box.h"

namespace kestrin {

CheckBox::CheckBox(HWND parent, const Bounds& bounds, std::string_view caption) : Control(parent) {
    Create("BUTTON", {.text = std::string(caption), .bounds = bounds, .style = WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX});
}

bool CheckBox::Checked() const { return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool checked) {
    if (checked == Checked()) return;
    SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (OnClick) OnClick();
}

bool CheckBox::HandleCommand(WORD notifyCode) {
    if (notifyCode != BN_CLICKED) return false;
    if (OnClick) OnClick();
    return true;
}

}  // namespace kestrin
