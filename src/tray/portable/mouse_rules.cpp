#include "tray/portable/mouse_rules.h"

namespace kestrin {
namespace {

using enum TrayMouseAction;

TrayMouseDecision Fire(bool assigned, TrayMouseAction action, TrayButton button, bool clickPending) {
    return {assigned ? action : None, button, clickPending};
}

// A left release that no OnMouseUp handler takes.
TrayMouseDecision ClickRule(const TrayMouseSetup& setup, bool clickPending) {
    if (!setup.HasOnClick) return {None, TrayButton::Left, false};
    if (clickPending) return {None, TrayButton::Left, false};  // the end of a double click
    return {StartClickWaiter, TrayButton::Left, true};
}

}  // namespace

TrayMouseDecision DecideTrayMouse(uint32_t mouseMessage, const TrayMouseSetup& setup, bool clickPending) {
    switch (mouseMessage) {
    case kWmMouseMove:
        return Fire(setup.HasOnMouseMove, FireMouseMove, TrayButton::Left, clickPending);
    case kWmLButtonDown:
        if (setup.HasLBPopupMenu && setup.AutoPopup) return {OpenLBPopupMenu, TrayButton::Left, clickPending};
        return Fire(setup.HasOnMouseDown, FireMouseDown, TrayButton::Left, clickPending);
    case kWmLButtonUp:
        if (setup.HasOnMouseUp) return {FireMouseUp, TrayButton::Left, clickPending};
        return ClickRule(setup, clickPending);
    case kWmLButtonDblClk:
        return Fire(setup.HasOnDblClick, FireDblClick, TrayButton::Left, true);
    case kWmRButtonDown:
        if (setup.HasRBPopupMenu && setup.AutoPopup) return {OpenRBPopupMenu, TrayButton::Right, clickPending};
        return Fire(setup.HasOnMouseDown, FireMouseDown, TrayButton::Right, clickPending);
    case kWmRButtonUp:
        return Fire(setup.HasOnMouseUp, FireMouseUp, TrayButton::Right, clickPending);
    case kWmMButtonDown:
        return Fire(setup.HasOnMouseDown, FireMouseDown, TrayButton::Middle, clickPending);
    case kWmMButtonUp:
        return Fire(setup.HasOnMouseUp, FireMouseUp, TrayButton::Middle, clickPending);
    default:  // WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK and anything else
        return {None, TrayButton::Left, clickPending};
    }
}

bool ShouldDeliverPendingClick(bool hasOnClick, bool clickPending) { return hasOnClick && clickPending; }

}  // namespace kestrin
