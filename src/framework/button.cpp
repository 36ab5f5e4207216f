#include "framework/button.h"

namespace kestrin {

Button::Button(HWND parent, const Bounds& bounds, std::string_view caption) : Control(parent) {
    Create("BUTTON", {.text = std::string(caption), .bounds = bounds, .style = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON});
}

void Button::SetDefault(bool isDefault) {
    if (isDefault == IsDefault()) return;
    DialogButton::SetDefault(isDefault);
    SendMessageA(Handle(), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void Button::SetGlyph(HICON glyph) {
    glyph_.AssignCopy(glyph);
    SendMessageA(Handle(), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(glyph_.Handle()));
}

void Button::Click() {
    if (OnClick) OnClick();
}

bool Button::HandleCommand(WORD notifyCode) {
    if (notifyCode != BN_CLICKED) return false;
    // Some systems still report BM_CLICK on a disabled button as a click.
    if (Enabled()) Click();
    return true;
}

}  // namespace kestrin
