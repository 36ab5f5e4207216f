#pragma once
// A sunken line: the top two lines of its rectangle (a pixel each at 96
// dpi) in the system's 3-D colours, the shadow above the highlight.
#include "framework/control.h"

namespace kestrin {

class Bevel : public Control {
public:
    explicit Bevel(HWND parent, const Bounds& bounds = {});

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Paint(HDC dc) override;
};

}  // namespace kestrin
