#include "platform/edit.h"

namespace kestrin {

namespace {

DWORD AlignmentStyle(TextAlignment alignment) {
    switch (alignment) {
        case TextAlignment::Center: return ES_CENTER;
        case TextAlignment::Right: return ES_RIGHT;
        case TextAlignment::Left: break;
    }
    return ES_LEFT;
}

}  // namespace

Edit::Edit(HWND parent, const Bounds& bounds, std::string_view text, TextAlignment alignment) : Control(parent) {
    Create("EDIT", text, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | AlignmentStyle(alignment), WS_EX_CLIENTEDGE,
           bounds);
}

void Edit::SetAlignment(TextAlignment alignment) {
    if (alignment == Alignment()) return;
    LONG style = GetWindowLongA(Handle(), GWL_STYLE);
    style = (style & ~(ES_CENTER | ES_RIGHT)) | static_cast<LONG>(AlignmentStyle(alignment));
    SetWindowLongA(Handle(), GWL_STYLE, style);
    Invalidate();
}

TextAlignment Edit::Alignment() const {
    const LONG style = GetWindowLongA(Handle(), GWL_STYLE);
    if (style & ES_RIGHT) return TextAlignment::Right;
    if (style & ES_CENTER) return TextAlignment::Center;
    return TextAlignment::Left;
}

void Edit::SetMaxLength(int length) {
    maxLength_ = length > 0 ? length : 0;
    // 0 asks the edit control for the largest text it can hold.
    SendMessageA(Handle(), EM_SETLIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void Edit::SetReadOnly(bool readOnly) { SendMessageA(Handle(), EM_SETREADONLY, readOnly ? TRUE : FALSE, 0); }

bool Edit::ReadOnly() const { return (GetWindowLongA(Handle(), GWL_STYLE) & ES_READONLY) != 0; }

void Edit::Select(int start, int end) { SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(start), end); }

std::pair<int, int> Edit::Selection() const {
    DWORD start = 0, end = 0;
    SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

bool Edit::HandleCommand(WORD notifyCode) {
    if (notifyCode != EN_CHANGE) return false;
    if (onChange) onChange();
    return true;
}

bool Edit::HandleEditMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool Edit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return HandleEditMessage(message, wParam, lParam, result);
}

}  // namespace kestrin
