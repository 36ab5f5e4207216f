#include "tray/tray_menu_position.h"

#include <shellapi.h>

#include <optional>

#include "tray/portable/menu_placement.h"
#include "win32/system_dlls.h"

namespace kestrin {

namespace {

ScreenRect FromRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

// The taskbar as the shell tells it, and its window's rectangle.
std::optional<Taskbar> ReadTaskbar(const ScreenRect& monitor) {
    std::optional<TaskbarAnswer> answer;
    APPBARDATA bar{};
    bar.cbSize = sizeof bar;
    if (SHAppBarMessage(ABM_GETTASKBARPOS, &bar)) answer = TaskbarAnswer{FromRect(bar.rc), bar.uEdge};
    std::optional<ScreenRect> window;
    RECT rect{};
    if (const HWND tray = FindWindowA("Shell_TrayWnd", nullptr); tray && GetWindowRect(tray, &rect))
        window = FromRect(rect);
    return FindTaskbar(answer, window, monitor);
}

// The icon's rectangle, which the shell of Windows 7 and later tells (in the
// taskbar or in the overflow flyout); none elsewhere.
std::optional<ScreenRect> ReadIconRect(HWND iconWindow, UINT iconId) {
    const auto getRect = FindLoadedExport<decltype(&Shell_NotifyIconGetRect)>("shell32.dll", "Shell_NotifyIconGetRect");
    if (!getRect) return std::nullopt;
    NOTIFYICONIDENTIFIER icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = iconWindow;
    icon.uID = iconId;
    RECT rect{};
    if (FAILED(getRect(&icon, &rect))) return std::nullopt;
    return FromRect(rect);
}

}  // namespace

PopupPosition TrayMenuPosition(HWND iconWindow, UINT iconId, POINT pointer) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST), &monitor);
    const ScreenRect screen = FromRect(monitor.rcMonitor);
    const TrayMenuPlacement place =
        PlaceTrayMenu({pointer.x, pointer.y}, ReadIconRect(iconWindow, iconId), ReadTaskbar(screen), screen);

    PopupPosition position;
    position.At = {place.At.X, place.At.Y};
    position.Alignment = (place.AlignX == MenuAlignX::Left    ? TPM_LEFTALIGN
                          : place.AlignX == MenuAlignX::Right ? TPM_RIGHTALIGN
                                                              : TPM_CENTERALIGN) |
                         (place.AlignY == MenuAlignY::Top ? TPM_TOPALIGN : TPM_BOTTOMALIGN) |
                         (place.VerticalFirst ? TPM_VERTICAL : TPM_HORIZONTAL);
    position.Exclude = {place.Exclude.Left, place.Exclude.Top, place.Exclude.Right, place.Exclude.Bottom};
    return position;
}

}  // namespace kestrin
