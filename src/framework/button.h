#pragma once
// A push button. As a dialog button it has a modal result, and may be the
// form's default (Enter) or cancel (Esc) button.
#include <functional>

#include "framework/control.h"
#include "framework/dialog_button.h"
#include "win32/icon_picture.h"

namespace kestrin {

class Button : public Control, public DialogButton {
public:
    explicit Button(HWND parent, const Bounds& bounds = {}, std::string_view caption = {});

    // The default button is drawn with the heavy frame (BS_DEFPUSHBUTTON).
    void SetDefault(bool isDefault) override;
    DialogButton* AsDialogButton() noexcept override { return this; }

    // A picture left of the caption (copied); the system greys it while the
    // button is disabled.
    void SetGlyph(HICON glyph);

    // Runs OnClick, as a click would.
    void Click();

    std::function<void()> OnClick;

    bool HandleCommand(WORD notifyCode) override;

private:
    IconPicture glyph_;
};

}  // namespace kestrin
