#pragma once
// A button as its form sees it: the result a click gives a modal form, and
// whether Enter presses it (the default button).
// Push buttons and flat buttons both are one; a form finds them through
// Control::AsDialogButton, whatever their kind.
namespace kestrin {

class DialogButton {
public:
    void SetModalResult(int result) noexcept { modalResult_ = result; }
    int ModalResult() const noexcept { return modalResult_; }
    // A kind of button may show the default state (the push button's heavy frame).
    virtual void SetDefault(bool isDefault) { default_ = isDefault; }
    bool IsDefault() const noexcept { return default_; }

protected:
    DialogButton() = default;
    ~DialogButton() = default;

private:
    int modalResult_ = 0;
    bool default_ = false;
};

}  // namespace kestrin
