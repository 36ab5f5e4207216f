#pragma once
// Shows an icon picture, centred at its own size unless stretched.
#include "framework/control.h"
#include "win32/icon_picture.h"

namespace kestrin {

class Image : public Control {
public:
    explicit Image(HWND parent, const Bounds& bounds = {});

    // Takes the whole client area of the parent (inside a panel's bevels).
    void FillParent();

    // `size` in screen pixels.
    bool LoadIcon(HINSTANCE instance, const char* name, int size = 32);

    // Drawn at the control's size instead of the picture's.
    void SetStretch(bool stretch);

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Paint(HDC dc) override;

    IconPicture picture_;
    bool stretch_ = false;
};

}  // namespace kestrin
