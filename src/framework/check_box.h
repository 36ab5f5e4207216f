#pragma once
// A check box that ticks itself when clicked (BS_AUTOCHECKBOX).
#include <functional>

#include "framework/control.h"

namespace kestrin {

class CheckBox : public Control {
public:
    explicit CheckBox(HWND parent, const Bounds& bounds = {}, std::string_view caption = {});

    bool Checked() const;
    // Like a click, a change made by code fires OnClick; setting the state it
    // already has does nothing.
    void SetChecked(bool checked);

    std::function<void()> OnClick;

    bool HandleCommand(WORD notifyCode) override;
};

}  // namespace kestrin
