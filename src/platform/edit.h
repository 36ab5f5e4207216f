#pragma once
// A single-line edit box. Controls built on it (the numeric edits) take over
// its messages by overriding HandleEditMessage.
#include <functional>
#include <utility>

#include "platform/control.h"

namespace kestrin {

class Edit : public Control {
public:
    explicit Edit(HWND parent, const Bounds& bounds = {}, std::string_view text = {},
                  TextAlignment alignment = TextAlignment::Left);

    // ES_LEFT / ES_CENTER / ES_RIGHT.
    void SetAlignment(TextAlignment alignment);
    TextAlignment Alignment() const;

    // Longest text the user may type, in bytes; 0 = no limit of our own.
    void SetMaxLength(int length);
    int MaxLength() const noexcept { return maxLength_; }

    void SetReadOnly(bool readOnly);
    bool ReadOnly() const;

    void Select(int start, int end);
    void SelectAll() { Select(0, -1); }
    // Byte positions of the selection (start, end).
    std::pair<int, int> Selection() const;

    // Fires on EN_CHANGE: after every change of the text, by the user or by code.
    std::function<void()> onChange;

    bool HandleCommand(WORD notifyCode) override;

protected:
    // Messages of the edit window before the edit control sees them; return
    // true when handled (result goes back to the sender). CallDefault gives
    // the edit control's own behaviour.
    virtual bool HandleEditMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) final;

private:
    int maxLength_ = 0;
};

}  // namespace kestrin
