#pragma once
// Shows an icon picture, by default centred at its own size.
#include "framework/control.h"
#include "win32/icon_picture.h"

namespace kestrin {

class Image : public Control {
public:
    explicit Image(HWND parent, const Bounds& bounds = {});

    // Takes the whole client area of the parent (inside a panel's bevels).
    void FillParent();

    // The picture is a copy of the given icon.
    void SetIcon(HICON icon);
    bool LoadIcon(HINSTANCE instance, const char* name, int size = 32);
    void Clear();
    const IconPicture& Picture() const noexcept { return picture_; }

    void SetCenter(bool center);
    bool Center() const noexcept { return center_; }
    // Drawn at the control's size instead of the picture's.
    void SetStretch(bool stretch);
    bool Stretch() const noexcept { return stretch_; }

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Paint(HDC dc) override;

    IconPicture picture_;
    bool center_ = true;
    bool stretch_ = false;
};

}  // namespace kestrin
