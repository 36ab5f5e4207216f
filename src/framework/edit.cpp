#include "framework/edit.h"

#include <string>
#include <utility>

#include "framework/top_level_window.h"

namespace kestrin {

Edit::Edit(HWND parent, const Bounds& bounds, std::string_view text)
    : Edit(parent, {.text = std::string(text), .bounds = bounds}, 0) {}

Edit::Edit(HWND parent, ControlArgs args, DWORD extraStyle) : Control(parent) {
    args.style |= WS_TABSTOP | ES_AUTOHSCROLL | extraStyle;
    args.exStyle |= WS_EX_CLIENTEDGE;
    Create("EDIT", std::move(args));
}

bool Edit::MultiLine() const { return (GetWindowLongA(Handle(), GWL_STYLE) & ES_MULTILINE) != 0; }

void Edit::WindowCreated() {
    if (maxLength_) SendMessageA(Handle(), EM_SETLIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
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

bool Edit::HandleEditMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool Edit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // The character of an Enter that pressed the default button goes nowhere.
    if (message == WM_CHAR && wParam == '\r' && std::exchange(dropReturnChar_, false)) {
        result = 0;
        return true;
    }
    if (HandleEditMessage(message, wParam, lParam, result)) return true;
    if (message != WM_KEYDOWN || !MultiLine()) return false;
    if (wParam == VK_ESCAPE) {
        // The handlers see the key; the system's edit, which has no use for
        // it but the dialog-mode WM_CLOSE, does not.
        WORD key = VK_ESCAPE;
        DoKeyDown(key, KeyboardShiftState());
        result = 0;
        return true;
    }
    const bool wantsReturn = (GetWindowLongA(Handle(), GWL_STYLE) & ES_WANTRETURN) != 0;
    if (wParam == VK_RETURN && !wantsReturn && GetKeyState(VK_CONTROL) >= 0) {
        WORD key = VK_RETURN;
        DoKeyDown(key, KeyboardShiftState());
        if (key == 0 || PressDefaultButton()) {
            dropReturnChar_ = key != 0;
            result = 0;
            return true;
        }
        // No default button: the edit and its OnKeyPress get the Enter.
        result = CallDefault(message, wParam, lParam);
        return true;
    }
    return false;
}

bool Edit::PressDefaultButton() {
    TopLevelWindow* form = TopLevelWindow::FromChild(Handle());
    return form && form->PressDefaultButton();
}

}  // namespace kestrin
