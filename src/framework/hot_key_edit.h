#pragma once
// The system's hot-key entry control ("msctls_hotkey32"): the user presses a
// key combination and the control shows and keeps it.
#include "framework/control.h"

namespace kestrin {

struct HotKeyValue {
    BYTE virtualKey = 0;
    BYTE modifiers = 0;  // HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT | HOTKEYF_EXT
    bool operator==(const HotKeyValue&) const = default;
};

class HotKeyEdit : public Control {
public:
    explicit HotKeyEdit(HWND parent, const Bounds& bounds = {});

    HotKeyValue HotKey() const;
    void SetHotKey(BYTE virtualKey, BYTE modifiers);

    // Combinations the control refuses (HKCOMB_ flags) and the modifiers it
    // puts on such a key instead (HKM_SETRULES).
    void SetRules(WORD invalidCombinations, BYTE replacementModifiers);

    // Every key but Tab and Enter is an entry (Esc, like Backspace, clears
    // it); those two stay the dialog's.
    bool WantsKey(WORD key) const override { return key != VK_TAB && key != VK_RETURN; }

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

}  // namespace kestrin
