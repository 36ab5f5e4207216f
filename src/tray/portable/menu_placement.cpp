#include "tray/portable/menu_placement.h"

#include <algorithm>

namespace kestrin {

namespace {

bool Holds(const ScreenRect& rect, ScreenPoint point) {
    return point.X >= rect.Left && point.X < rect.Right && point.Y >= rect.Top && point.Y < rect.Bottom;
}

ScreenRect Union(const ScreenRect& a, const ScreenRect& b) {
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
}

std::optional<Taskbar> PlausibleTaskbar(const ScreenRect& rect, std::optional<uint32_t> reportedEdge,
                                        const ScreenRect& monitor) {
    const int32_t width = rect.Right - rect.Left;
    const int32_t height = rect.Bottom - rect.Top;
    const bool across = width >= height;  // along the top or the bottom
    const int32_t thickness = across ? height : width;
    const int32_t room = across ? monitor.Bottom - monitor.Top : monitor.Right - monitor.Left;
    if (thickness < kMinTaskbarThickness || thickness > room / 2) return std::nullopt;
    // It stands on the monitor, and reaches the side it is nearer to.
    if (rect.Left >= monitor.Right || rect.Right <= monitor.Left || rect.Top >= monitor.Bottom ||
        rect.Bottom <= monitor.Top)
        return std::nullopt;
    ScreenEdge edge;
    bool reaches;
    if (across) {
        const bool top = rect.Top - monitor.Top < monitor.Bottom - rect.Bottom;
        edge = top ? ScreenEdge::Top : ScreenEdge::Bottom;
        reaches = top ? rect.Top <= monitor.Top : rect.Bottom >= monitor.Bottom;
    } else {
        const bool left = rect.Left - monitor.Left < monitor.Right - rect.Right;
        edge = left ? ScreenEdge::Left : ScreenEdge::Right;
        reaches = left ? rect.Left <= monitor.Left : rect.Right >= monitor.Right;
    }
    if (!reaches || (reportedEdge && *reportedEdge != static_cast<uint32_t>(edge))) return std::nullopt;
    return Taskbar{rect, edge};
}

}  // namespace

std::optional<Taskbar> FindTaskbar(std::optional<TaskbarAnswer> answer, std::optional<ScreenRect> window,
                                   const ScreenRect& monitor) {
    if (answer)
        if (auto taskbar = PlausibleTaskbar(answer->Rect, answer->Edge, monitor)) return taskbar;
    return window ? PlausibleTaskbar(*window, std::nullopt, monitor) : std::nullopt;
}

TrayMenuPlacement PlaceTrayMenu(ScreenPoint pointer, std::optional<ScreenRect> icon, std::optional<Taskbar> taskbar,
                                const ScreenRect& monitor) {
    ScreenRect clear{pointer.X, pointer.Y, pointer.X + 1, pointer.Y + 1};
    if (icon && Holds(*icon, pointer)) clear = Union(clear, *icon);
    if (taskbar) clear = Union(clear, taskbar->Rect);
    // Along a taskbar at the side, the menu grows from the pointer towards
    // the middle of the screen, where there is room for it.
    const bool lowerHalf = pointer.Y - monitor.Top >= (monitor.Bottom - monitor.Top) / 2;
    const MenuAlignY along = lowerHalf ? MenuAlignY::Bottom : MenuAlignY::Top;
    switch (taskbar ? taskbar->Edge : ScreenEdge::Bottom) {
        case ScreenEdge::Top:
            return {{pointer.X, clear.Bottom}, MenuAlignX::Centre, MenuAlignY::Top, clear, true};
        case ScreenEdge::Left:
            return {{clear.Right, pointer.Y}, MenuAlignX::Left, along, clear, false};
        case ScreenEdge::Right:
            return {{clear.Left, pointer.Y}, MenuAlignX::Right, along, clear, false};
        case ScreenEdge::Bottom:
        default:
            return {{pointer.X, clear.Top}, MenuAlignX::Centre, MenuAlignY::Bottom, clear, true};
    }
}

}  // namespace kestrin
