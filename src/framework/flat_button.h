#pragma once
// A flat button that never takes the keyboard focus: clicking it leaves the
// focus where it was. Its frame shows only while the pointer is over it.
// A click reaches the parent as WM_COMMAND / BN_CLICKED, like a push button's,
// and so comes back to OnClick through the parent's routing.
#include <functional>

#include "framework/control.h"
#include "framework/dialog_button.h"
#include "win32/icon_picture.h"

namespace kestrin {

class FlatButton : public Control, public DialogButton {
public:
    explicit FlatButton(HWND parent, const Bounds& bounds = {}, std::string_view caption = {});

    DialogButton* AsDialogButton() noexcept override { return this; }

    // A picture left of the caption, with its own picture for the disabled
    // state; without one the normal picture is drawn greyed. Both are copied.
    void SetGlyph(HICON normal, HICON disabled = nullptr);

    // Runs OnClick, as a click would.
    void Click();

    std::function<void()> OnClick;

    bool HandleCommand(WORD notifyCode) override;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Paint(HDC dc) override;
    void NotifyParent();
    void SetHot(bool hot);
    void SetPressed(bool pressed);

    bool hot_ = false;       // the pointer is over the button
    bool tracking_ = false;  // the left button went down on us and is held
    bool pressed_ = false;   // drawn pushed in: tracking and the pointer inside
    IconPicture glyph_;
    IconPicture disabledGlyph_;
};

}  // namespace kestrin
