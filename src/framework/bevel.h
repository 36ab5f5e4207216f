#pragma once
// A decorative line or frame in the system's 3-D colours (etched when lowered).
#include "framework/control.h"

namespace kestrin {

enum class BevelShape { Box, Frame, TopLine, BottomLine, LeftLine, RightLine };
enum class BevelStyle { Lowered, Raised };

class Bevel : public Control {
public:
    explicit Bevel(HWND parent, const Bounds& bounds = {}, BevelShape shape = BevelShape::Box,
                   BevelStyle style = BevelStyle::Lowered);

    void SetShape(BevelShape shape);
    BevelShape Shape() const noexcept { return shape_; }
    void SetStyle(BevelStyle style);
    BevelStyle Style() const noexcept { return style_; }

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Paint(HDC dc) override;

    BevelShape shape_;
    BevelStyle style_;
};

}  // namespace kestrin
