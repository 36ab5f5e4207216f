#pragma once
// A flat button that never takes the keyboard focus: clicking it leaves the
// focus where it was. Its frame shows only while the pointer is over it.
// A click reaches the parent as WM_COMMAND / BN_CLICKED, like a push button's,
// and so comes back to onClick through the parent's routing.
#include <functional>

#include "platform/control.h"
#include "platform/icon_picture.h"

namespace kestrin {

class FlatButton : public Control {
public:
    explicit FlatButton(HWND parent, const Bounds& bounds = {}, std::string_view caption = {});

    void SetModalResult(int result) noexcept { modalResult_ = result; }
    int ModalResult() const noexcept { return modalResult_; }
    void SetDefault(bool isDefault) noexcept { default_ = isDefault; }
    bool IsDefault() const noexcept { return default_; }
    void SetCancel(bool isCancel) noexcept { cancel_ = isCancel; }
    bool IsCancel() const noexcept { return cancel_; }

    // A picture left of the caption, with its own picture for the disabled
    // state; without one the normal picture is drawn greyed. Both are copied.
    void SetGlyph(HICON normal, HICON disabled = nullptr);

    // Runs onClick, as a click would.
    void Click();

    std::function<void()> onClick;

    bool HandleCommand(WORD notifyCode) override;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Paint(HDC dc) override;
    void NotifyParent();
    void SetHot(bool hot);
    void SetPressed(bool pressed);

    int modalResult_ = 0;
    bool default_ = false;
    bool cancel_ = false;
    bool hot_ = false;       // the pointer is over the button
    bool tracking_ = false;  // the left button went down on us and is held
    bool pressed_ = false;   // drawn pushed in: tracking and the pointer inside
    IconPicture glyph_;
    IconPicture disabledGlyph_;
};

}  // namespace kestrin
