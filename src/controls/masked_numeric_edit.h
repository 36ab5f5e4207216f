#pragma once
// TBEdit: a one-line entry for a small whole number (Suji, 0..255), shown
// through a display mask and right-aligned. Whatever was typed is read back
// as a number whenever Suji is read, made whole by CastMode and checked
// against 0..255 and RangeStart..RangeEnd; a value outside them is replaced
// by the last accepted one (LastSuji), silently. The value is read and
// shown again each time the control gains or loses the focus.
//
// A multi-line edit underneath (ES_MULTILINE | ES_RIGHT), so that Enter, Esc
// and the arrows come to the control and its handlers; the key filter keeps
// line breaks out of the text.
#include <cstdint>
#include <functional>
#include <string>

#include "controls/portable/mask_engine.h"
#include "framework/edit.h"

namespace kestrin {

// Raised for Left and Right at the edge of the text (see LRKeyDownSelect).
using TExitKeyEvent = std::function<void(Control& sender, uint16_t key)>;

class TBEdit : public Edit {
public:
    explicit TBEdit(HWND parent, const Bounds& bounds = {0, 0, 18, 18});

    // The display mask, cleaned (FilterMask); MaxLength follows its length.
    // Outside loading the text is formatted anew under the new mask.
    void SetMask(std::string_view mask);

    // Reading validates the text (and may rewrite it, and LastSuji).
    uint8_t Suji();
    // Shows the value under the mask; checks no range, leaves LastSuji.
    void SetSuji(uint8_t value);
    uint8_t LastSuji() const noexcept { return lastSuji_; }

    void SetCastMode(TCastMode mode) noexcept { castMode_ = mode; }
    void SetRangeStart(uint8_t value) noexcept { rangeStart_ = value; }
    void SetRangeEnd(uint8_t value) noexcept { rangeEnd_ = value; }
    // Left/Right at the edge of the text (or over a whole selection) go to
    // OnLRKeyDown instead of the caret.
    void SetLRKeyDownSelect(bool on) noexcept { lrKeyDownSelect_ = on; }
    TExitKeyEvent OnLRKeyDown;

    // Selecting the whole text when the focus comes (on by default).
    void SetAutoSelect(bool on) noexcept { autoSelect_ = on; }

protected:
    TBEdit(HWND parent, const Bounds& bounds, DWORD extraStyle);

    // The characters a number may be typed with (the minus only when the
    // mask has one), and backspace and escape.
    bool IsNumberCharacter(char key) const noexcept;

    // The key filter: raises OnKeyPress, then (unless read-only) lets only
    // the characters of a number through; `key` becomes '\0' for the rest.
    virtual void KeyPress(char& key);
    // WM_PASTE: the clipboard's text, or nothing when it holds none.
    virtual void Paste();
    bool HandleEditMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void WindowCreated() override;
    bool MaskAllowsMinus() const noexcept { return mask_.find('-') != std::string::npos; }

private:
    bool LRKeyDown(WORD key);

    std::string mask_ = "9";
    TCastMode castMode_ = cmTrunc;
    uint8_t lastSuji_ = 0;
    uint8_t rangeStart_ = 0;
    uint8_t rangeEnd_ = 255;
    bool lrKeyDownSelect_ = false;
    bool autoSelect_ = true;
};

}  // namespace kestrin
