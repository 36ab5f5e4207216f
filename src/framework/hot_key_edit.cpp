#include "framework/hot_key_edit.h"

#include <commctrl.h>

namespace kestrin {

HotKeyEdit::HotKeyEdit(HWND parent, const Bounds& bounds) : Control(parent) {
    Create(HOTKEY_CLASSA, {.bounds = bounds, .exStyle = WS_EX_CLIENTEDGE});
}

HotKeyValue HotKeyEdit::HotKey() const {
    const auto value = static_cast<WORD>(SendMessageA(Handle(), HKM_GETHOTKEY, 0, 0));
    return {LOBYTE(value), HIBYTE(value)};
}

void HotKeyEdit::SetHotKey(BYTE virtualKey, BYTE modifiers) {
    SendMessageA(Handle(), HKM_SETHOTKEY, MAKEWORD(virtualKey, modifiers), 0);
}

void HotKeyEdit::SetRules(WORD invalidCombinations, BYTE replacementModifiers) {
    SendMessageA(Handle(), HKM_SETRULES, invalidCombinations, MAKELPARAM(replacementModifiers, 0));
}

bool HotKeyEdit::HandleMessage(UINT message, WPARAM, LPARAM, LRESULT&) {
    // The system's control paints itself grey while disabled but does not
    // paint itself again when it is enabled or disabled.
    if (message == WM_ENABLE) Invalidate();
    return false;
}

}  // namespace kestrin
