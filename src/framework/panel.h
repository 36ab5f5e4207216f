#pragma once
// A container drawn as a frame of one or two bevels. Controls created with
// the panel's handle as parent sit inside it; their notifications are passed
// on to the panel's own parent, so the form routes them like any other.
#include "framework/control.h"

namespace kestrin {

enum class BevelCut { None, Lowered, Raised };

// Draws a panel's bevels on the outermost pixels of `rect` (each one line
// wide: ScaledLine(1)) and leaves `rect` as the area inside them.
void DrawBevels(HDC dc, RECT& rect, BevelCut outer, BevelCut inner);

class Panel : public Control {
public:
    explicit Panel(HWND parent, const Bounds& bounds = {}, BevelCut outer = BevelCut::Raised,
                   BevelCut inner = BevelCut::None);

    // The client area inside the bevels (each bevel is one line wide).
    RECT ClientArea() const override;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Paint(HDC dc) override;

    BevelCut outer_;
    BevelCut inner_;
};

}  // namespace kestrin
