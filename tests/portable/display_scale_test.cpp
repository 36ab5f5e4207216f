// The one scale from the 96-dpi layouts to the screen. Rounded otherwise than
// MulDiv, the settings dialog's 373 x 254 would not be 560 x 381 at 150 % and its
// fields would stand a pixel off; lines scaled as sizes would draw 2-pixel bevels.
#include <gtest/gtest.h>

#include "win32/portable/display_scale.h"

namespace kestrin {
namespace {

TEST(DisplayScale, SizesRoundAsMulDivAndLinesStayWhole) {
    struct Case {
        int value, dpi, size, line;
    };
    const Case cases[] = {
        {12, 96, 12, 12},    {373, 96, 373, 373},  {1, 96, 1, 1},        {12, 120, 15, 15},  // 100 %, 125 %
        {2, 120, 3, 2},      {1, 120, 1, 1},       {373, 144, 560, 559}, {254, 144, 381, 381},  // 150 %
        {12, 144, 18, 18},   {1, 144, 2, 1},       {3, 144, 5, 4},       {-1, 144, -2, -1},  // halves away from 0
        {12, 192, 24, 24},   {1, 192, 2, 2},       {0, 192, 0, 0},       {373, 192, 746, 746},  // 200 %
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScaleToDpi(c.value, c.dpi), c.size) << c.value << " at " << c.dpi << " dpi";
        EXPECT_EQ(ScaleLineToDpi(c.value, c.dpi), c.line) << c.value << " at " << c.dpi << " dpi";
    }
}

}  // namespace
}  // namespace kestrin
