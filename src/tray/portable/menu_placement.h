#pragma once
// Where a tray icon's menu opens. It lies beside the taskbar, on the screen's
// side of it, at the pointer's place along it: above a taskbar at the bottom
// (centred on the pointer, its bottom at the taskbar's top edge), below one
// at the top, right of one on the left, left of one on the right. It never
// covers the pointer or the icon under it (which may stand in the overflow
// flyout, off the taskbar).
//
// What comes out is what TrackPopupMenuEx takes: a point, the side of the
// menu that lies on it, and a rectangle to keep clear. The menu's size is
// the system's to know (font, theme, DPI): it aligns the menu at the point,
// keeps it on the monitor and, where it cannot, moves it off the rectangle.
#include <cstdint>
#include <optional>

namespace kestrin {

// Screen coordinates, the right and bottom edges outside, as the system's RECT.
struct ScreenRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};

struct ScreenPoint {
    int32_t X = 0;
    int32_t Y = 0;
};

// The sides of a screen, numbered as the shell's ABE_* values.
enum class ScreenEdge : uint32_t { Left = 0, Top = 1, Right = 2, Bottom = 3 };

struct Taskbar {
    ScreenRect Rect;
    ScreenEdge Edge = ScreenEdge::Bottom;
};

// The shell's answer to ABM_GETTASKBARPOS: the rectangle and the side.
struct TaskbarAnswer {
    ScreenRect Rect;
    uint32_t Edge = 0;
};

// The taskbar on `monitor` (the pointer's): the shell's answer where it can
// be one, else the taskbar window's rectangle (`window`; none without that
// window, as while the shell restarts) where that can be one, else none. A
// taskbar is a strip along one side of the monitor, reaching that side, at
// least kMinTaskbarThickness thick (Wine's shell answers with a one-pixel
// strip) and at most half the monitor; the shell's answer names that side.
inline constexpr int32_t kMinTaskbarThickness = 8;
std::optional<Taskbar> FindTaskbar(std::optional<TaskbarAnswer> answer, std::optional<ScreenRect> window,
                                   const ScreenRect& monitor);

enum class MenuAlignX { Left, Centre, Right };  // the menu's side (or middle) at At.X
enum class MenuAlignY { Top, Bottom };          // the menu's side at At.Y

struct TrayMenuPlacement {
    ScreenPoint At;
    MenuAlignX AlignX = MenuAlignX::Centre;
    MenuAlignY AlignY = MenuAlignY::Bottom;
    // Kept clear: the taskbar, the pointer and the icon.
    ScreenRect Exclude;
    // Where the menu cannot lie beside Exclude as asked, the system keeps it
    // on the asked side above or below (true) rather than left or right.
    bool VerticalFirst = true;
};

// `icon`: the icon's rectangle where the shell tells it (counted only when
// it holds the pointer). Without a taskbar the menu opens above the pointer.
TrayMenuPlacement PlaceTrayMenu(ScreenPoint pointer, std::optional<ScreenRect> icon, std::optional<Taskbar> taskbar,
                                const ScreenRect& monitor);

}  // namespace kestrin
