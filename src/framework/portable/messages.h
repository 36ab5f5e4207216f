#pragma once
// Every window message of the program's own, in one place so that no two
// collide. Private messages lie in the WM_APP range (0x8000 and up); the
// tray notification is the shell's callback message the icon asks for.
#include <cstdint>

namespace kestrin {

inline constexpr uint32_t kAppMessageBase = 0x8000;  // WM_APP

// The shell's tray notification: wParam = icon identifier, lParam = mouse message.
inline constexpr uint32_t kTrayCallbackMessage = 0x4C8;  // WM_USER + 200

// To the controller: the interval thread hands a notice to the main thread
// (wParam: handle messages while it waits).
inline constexpr uint32_t kShowNoticeMessage = kAppMessageBase + 0x001;
// To the controller: the shell's "TaskbarCreated" came; the icon is added
// again from the loop, not from inside a message the shell may be sending.
inline constexpr uint32_t kTrayIconBackMessage = kAppMessageBase + 0x002;
// To the application window: a worker queued a call for the main thread.
inline constexpr uint32_t kSynchronizeMessage = kAppMessageBase + 0x100;
// To the application window: errors kept for the main loop are due.
inline constexpr uint32_t kShowLaterErrorsMessage = kAppMessageBase + 0x101;
// To a form's or control's window: the host of the graphic controls drawn
// on it, made on the first ask (the answer, a GraphicHost*).
inline constexpr uint32_t kGraphicHostMessage = kAppMessageBase + 0x200;
// To the tray callback window: the double-click time of a click has run out.
inline constexpr uint32_t kDeliverPendingClickMessage = kAppMessageBase + 0x4C9;

}  // namespace kestrin
