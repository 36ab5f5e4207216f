#pragma once
// What a tray icon does with the mouse notifications the shell sends to its
// callback window (message kTrayCallbackMessage, lParam = the mouse message),
// and how a single click is told from the first half of a double click.
#include <cstdint>

#include "framework/portable/messages.h"

namespace kestrin {

inline constexpr uint32_t kWmMouseMove = 0x200;
inline constexpr uint32_t kWmLButtonDown = 0x201;
inline constexpr uint32_t kWmLButtonUp = 0x202;
inline constexpr uint32_t kWmLButtonDblClk = 0x203;
inline constexpr uint32_t kWmRButtonDown = 0x204;
inline constexpr uint32_t kWmRButtonUp = 0x205;
inline constexpr uint32_t kWmRButtonDblClk = 0x206;
inline constexpr uint32_t kWmMButtonDown = 0x207;
inline constexpr uint32_t kWmMButtonUp = 0x208;
inline constexpr uint32_t kWmMButtonDblClk = 0x209;

enum class TrayButton { Left, Right, Middle };

// What of the icon is assigned (an enabled icon: a disabled one ignores
// every notification before these rules are asked).
struct TrayMouseSetup {
    bool HasLBPopupMenu = false;
    bool HasRBPopupMenu = false;
    bool AutoPopup = true;
    bool HasOnMouseMove = false;
    bool HasOnMouseDown = false;
    bool HasOnMouseUp = false;
    bool HasOnClick = false;
    bool HasOnDblClick = false;
};

enum class TrayMouseAction {
    None,
    OpenLBPopupMenu,
    OpenRBPopupMenu,
    FireMouseMove,
    FireMouseDown,    // with Button
    FireMouseUp,      // with Button
    FireDblClick,
    StartClickWaiter  // wait out the double-click time, then DeliverPendingClick
};

struct TrayMouseDecision {
    TrayMouseAction Action = TrayMouseAction::None;
    TrayButton Button = TrayButton::Left;
    bool ClickPending = false;  // the icon's new ClickPending
};

TrayMouseDecision DecideTrayMouse(uint32_t mouseMessage, const TrayMouseSetup& setup, bool clickPending);

// The click waiter has run out: fire OnClick when it is still assigned and
// the click still pending. ClickPending is false afterwards in any case.
bool ShouldDeliverPendingClick(bool hasOnClick, bool clickPending);

}  // namespace kestrin
