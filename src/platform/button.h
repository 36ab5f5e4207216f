#pragma once
// A push button. A form asks its buttons for ModalResult (the result a click
// gives a modal form), IsDefault (Enter presses it) and IsCancel (Esc does).
#include <functional>

#include "platform/control.h"

namespace kestrin {

class Button : public Control {
public:
    explicit Button(HWND parent, const Bounds& bounds = {}, std::string_view caption = {});

    void SetModalResult(int result) noexcept { modalResult_ = result; }
    int ModalResult() const noexcept { return modalResult_; }

    // The default button is drawn with the heavy frame (BS_DEFPUSHBUTTON).
    void SetDefault(bool isDefault);
    bool IsDefault() const noexcept { return default_; }
    void SetCancel(bool isCancel) noexcept { cancel_ = isCancel; }
    bool IsCancel() const noexcept { return cancel_; }

    // Runs onClick, as a click would.
    void Click();

    std::function<void()> onClick;

    bool HandleCommand(WORD notifyCode) override;

private:
    int modalResult_ = 0;
    bool default_ = false;
    bool cancel_ = false;
};

}  // namespace kestrin
