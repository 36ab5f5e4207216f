// Where the tray menu opens on each kind of taskbar, from what the shell answers: aligned as
// asked, it lies beside the taskbar at the pointer's place, on the monitor, off the pointer.
#include <gtest/gtest.h>

#include "tray/portable/menu_placement.h"

namespace kestrin {
namespace {

using enum MenuAlignX;
using enum MenuAlignY;

constexpr ScreenRect kScreen{0, 0, 1920, 1080}, kBottom{0, 1040, 1920, 1080}, kLeftScreen{-1280, -200, 0, 824};
constexpr int32_t kMenuWidth = 160, kMenuHeight = 150;

struct Row {
    const char* What;
    std::optional<TaskbarAnswer> Answer;  // ABM_GETTASKBARPOS
    std::optional<ScreenRect> Window;     // Shell_TrayWnd's rectangle
    ScreenPoint Pointer, At;
    MenuAlignX AlignX;
    MenuAlignY AlignY;
    std::optional<ScreenRect> Icon = {};
    ScreenRect Monitor = kScreen;
};

constexpr TaskbarAnswer kAtBottom{kBottom, 3};
const Row kTable[] = {
    {"bottom: centred, on its top", kAtBottom, {}, {1800, 1060}, {1800, 1040}, Centre, Bottom},
    {"top: centred, under it", TaskbarAnswer{{0, 0, 1920, 40}, 1}, {}, {1800, 20}, {1800, 40}, Centre, Top},
    {"left: beside it, up from the pointer", TaskbarAnswer{{0, 0, 60, 1080}, 0}, {}, {30, 1000}, {60, 1000}, Left,
     Bottom},
    {"right: beside it, down from the pointer", TaskbarAnswer{{1860, 0, 1920, 1080}, 2}, {}, {1890, 100}, {1860, 100},
     Right, Top},
    {"icon in the flyout above the taskbar: over the icon", kAtBottom, {}, {1700, 990}, {1700, 980}, Centre, Bottom,
     ScreenRect{1690, 980, 1714, 1004}},
    {"second monitor at negative coordinates", TaskbarAnswer{{-1280, 784, 0, 824}, 3}, {}, {-100, 800}, {-100, 784},
     Centre, Bottom, {}, kLeftScreen},
    {"Wine's one-pixel strip: the window's rectangle", TaskbarAnswer{{0, 1079, 1920, 1080}, 3}, kBottom, {1800, 1060},
     {1800, 1040}, Centre, Bottom},
    {"no taskbar found: above the pointer", {}, {}, {1000, 700}, {1000, 700}, Centre, Bottom},
};

TEST(TrayMenuPlacement, BesideTheTaskbarAtThePointersPlaceAndNeverOverIt) {
    auto covers = [](const ScreenRect& o, const ScreenRect& i) {
        return o.Left <= i.Left && o.Top <= i.Top && o.Right >= i.Right && o.Bottom >= i.Bottom;
    };
    for (const Row& row : kTable) {
        SCOPED_TRACE(row.What);
        const std::optional<Taskbar> bar = FindTaskbar(row.Answer, row.Window, row.Monitor);
        const TrayMenuPlacement p = PlaceTrayMenu(row.Pointer, row.Icon, bar, row.Monitor);
        EXPECT_TRUE(p.At.X == row.At.X && p.At.Y == row.At.Y && p.AlignX == row.AlignX && p.AlignY == row.AlignY)
            << "at " << p.At.X << "," << p.At.Y;
        EXPECT_EQ(p.VerticalFirst, p.AlignX == Centre) << "above or below a taskbar along the top or the bottom";
        const int32_t left = p.At.X - (p.AlignX == Left ? 0 : p.AlignX == Right ? kMenuWidth : kMenuWidth / 2);
        const int32_t top = p.AlignY == Top ? p.At.Y : p.At.Y - kMenuHeight;
        const ScreenRect menu{left, top, left + kMenuWidth, top + kMenuHeight}, &x = p.Exclude;
        EXPECT_TRUE(covers(row.Monitor, menu)) << "the system would move it";
        EXPECT_TRUE(menu.Right <= x.Left || menu.Left >= x.Right || menu.Bottom <= x.Top || menu.Top >= x.Bottom);
        EXPECT_TRUE(covers(x, {row.Pointer.X, row.Pointer.Y, row.Pointer.X + 1, row.Pointer.Y + 1}));
        EXPECT_TRUE(covers(x, bar ? bar->Rect : x));
    }
}

}  // namespace
}  // namespace kestrin
