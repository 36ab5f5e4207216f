// Where the tray menu opens on each kind of taskbar, and which answers of
// the shell can be a taskbar at all.
#include <gtest/gtest.h>

#include "tray/portable/menu_placement.h"

namespace kestrin {
namespace {

using enum MenuAlignX;
using enum MenuAlignY;
using Edge = ScreenEdge;

constexpr ScreenRect kScreen{0, 0, 1920, 1080};
constexpr ScreenRect kLeftScreen{-1280, -200, 0, 824};  // a second monitor left of the first
constexpr int32_t kMenuWidth = 160, kMenuHeight = 150;

bool Covers(const ScreenRect& outer, const ScreenRect& inner) {
    return outer.Left <= inner.Left && outer.Top <= inner.Top && outer.Right >= inner.Right &&
           outer.Bottom >= inner.Bottom;
}

struct Row {
    const char* What;
    ScreenRect Monitor;
    std::optional<Taskbar> Bar;
    ScreenPoint Pointer;
    std::optional<ScreenRect> Icon;
    ScreenPoint At;
    MenuAlignX AlignX;
    MenuAlignY AlignY;
};

const Row kTable[] = {
    {"bottom: centred, on the taskbar's top", kScreen, Taskbar{{0, 1040, 1920, 1080}, Edge::Bottom}, {1800, 1060},
     {}, {1800, 1040}, Centre, Bottom},
    {"top: centred, under it", kScreen, Taskbar{{0, 0, 1920, 40}, Edge::Top}, {1800, 20}, {}, {1800, 40}, Centre, Top},
    {"left: right of it, up from the pointer", kScreen, Taskbar{{0, 0, 60, 1080}, Edge::Left}, {30, 1000}, {},
     {60, 1000}, Left, Bottom},
    {"right: left of it, down from the pointer", kScreen, Taskbar{{1860, 0, 1920, 1080}, Edge::Right}, {1890, 100},
     {}, {1860, 100}, Right, Top},
    {"flyout above the taskbar: over the icon", kScreen, Taskbar{{0, 1040, 1920, 1080}, Edge::Bottom}, {1700, 990},
     ScreenRect{1690, 980, 1714, 1004}, {1700, 980}, Centre, Bottom},
    {"flyout, an icon rectangle away from the pointer: over the pointer", kScreen,
     Taskbar{{0, 1040, 1920, 1080}, Edge::Bottom}, {1700, 990}, ScreenRect{0, 0, 16, 16}, {1700, 990}, Centre, Bottom},
    {"second monitor at negative coordinates", kLeftScreen, Taskbar{{-1280, 784, 0, 824}, Edge::Bottom}, {-100, 800},
     {}, {-100, 784}, Centre, Bottom},
    {"no taskbar: above the pointer", kScreen, std::nullopt, {1000, 700}, {}, {1000, 700}, Centre, Bottom},
};

TEST(TrayMenuPlacement, BesideTheTaskbarAtThePointersPlaceAndNeverOverIt) {
    for (const Row& row : kTable) {
        SCOPED_TRACE(row.What);
        const TrayMenuPlacement p = PlaceTrayMenu(row.Pointer, row.Icon, row.Bar, row.Monitor);
        EXPECT_EQ(p.At.X, row.At.X);
        EXPECT_EQ(p.At.Y, row.At.Y);
        EXPECT_EQ(p.AlignX, row.AlignX);
        EXPECT_EQ(p.AlignY, row.AlignY);
        EXPECT_EQ(p.VerticalFirst, !row.Bar || row.Bar->Edge == Edge::Top || row.Bar->Edge == Edge::Bottom);
        // The menu aligned as asked is on the monitor, off the taskbar, the
        // pointer and the icon: the system has no reason to move it.
        const int32_t left = p.At.X - (p.AlignX == Left ? 0 : p.AlignX == Right ? kMenuWidth : kMenuWidth / 2);
        const int32_t top = p.AlignY == Top ? p.At.Y : p.At.Y - kMenuHeight;
        const ScreenRect menu{left, top, left + kMenuWidth, top + kMenuHeight};
        EXPECT_TRUE(Covers(row.Monitor, menu));
        const ScreenRect& x = p.Exclude;
        EXPECT_TRUE(menu.Right <= x.Left || menu.Left >= x.Right || menu.Bottom <= x.Top || menu.Top >= x.Bottom);
        EXPECT_TRUE(Covers(x, {row.Pointer.X, row.Pointer.Y, row.Pointer.X + 1, row.Pointer.Y + 1}));
        EXPECT_TRUE(Covers(x, row.Bar ? row.Bar->Rect : x));
    }
}

TEST(TrayMenuPlacement, OnlyAStripAlongASideOfTheMonitorIsATaskbar) {
    struct Case {
        const char* What;
        ScreenRect Rect;
        std::optional<uint32_t> Reported;
        std::optional<Edge> Found;
    } const cases[] = {
        {"the shell's answer", {0, 1040, 1920, 1080}, 3, Edge::Bottom},
        {"a window's rectangle names no side", {-2, -2, 62, 1082}, std::nullopt, Edge::Left},
        {"Wine's one-pixel strip", {0, 1079, 1920, 1080}, 3, std::nullopt},
        {"a side it does not lie along", {0, 1040, 1920, 1080}, 1, std::nullopt},
        {"short of the side", {0, 1000, 1920, 1040}, std::nullopt, std::nullopt},
        {"half the screen or more", {0, 0, 1920, 1080}, std::nullopt, std::nullopt},
        {"on another monitor", {-1280, 784, 0, 824}, 3, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        const std::optional<Taskbar> bar = PlausibleTaskbar(c.Rect, c.Reported, kScreen);
        EXPECT_EQ(bar ? std::optional<Edge>(bar->Edge) : std::nullopt, c.Found);
    }
}

}  // namespace
}  // namespace kestrin
