#pragma once
// An edit box, single-line unless its arguments ask for ES_MULTILINE.
// Controls built on it (the numeric edits) take over its messages by
// overriding HandleEditMessage.
//
// In a form, a multi-line edit keeps Enter, Esc and the arrows for itself
// (and its OnKeyDown / OnKeyPress handlers); Tab still moves the focus. Esc
// never reaches the system's edit: in the dialog mode that a WM_GETDLGCODE
// with a message switches on, the edit would post WM_CLOSE to its parent for
// it and cancel the form by accident. Enter in a multi-line edit without
// ES_WANTRETURN presses the form's default button, as in a dialog.
#include <utility>

#include "framework/control.h"

namespace kestrin {

class Edit : public Control {
public:
    explicit Edit(HWND parent, const Bounds& bounds = {}, std::string_view text = {});
    bool MultiLine() const;

    // Longest text the user may type, in bytes; 0 = no limit of our own.
    void SetMaxLength(int length);

    void SetReadOnly(bool readOnly);
    bool ReadOnly() const;

    void Select(int start, int end);
    void SelectAll() { Select(0, -1); }
    // Byte positions of the selection (start, end).
    std::pair<int, int> Selection() const;

protected:
    // For edits built on this one: `args` with the edit's own styles (a tab
    // stop, sunken, scrolling sideways) and `extraStyle` (ES_MULTILINE...).
    Edit(HWND parent, ControlArgs args, DWORD extraStyle);

    // Messages of the edit window before the edit control sees them; return
    // true when handled (result goes back to the sender). CallDefault gives
    // the edit control's own behaviour.
    virtual bool HandleEditMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) final;
    void WindowCreated() override;

private:
    bool PressDefaultButton();

    int maxLength_ = 0;
    bool dropReturnChar_ = false;  // the Enter that pressed the default button
};

}  // namespace kestrin
