#pragma once
// TCallbackWindow: the hidden child window that receives the shell's
// notifications (kTrayCallbackMessage, wParam = icon identifier, lParam =
// mouse message) for every tray icon of the process, and turns them into the
// icon's events and popup menus. One per process: the first tray icon
// creates it as a child of its owner form, which owns it from then on.
//
// Runs on the GUI thread; exceptions from handlers go to the application's
// top-level error handler (the control's window procedure catches them).
#include <windows.h>

#include <cstdint>

#include "platform/control.h"

namespace kestrin {

class Form;
class PopupMenu;
class TTrayIcon;

// Posted by a TSingleClick when the double-click time has run out.
inline constexpr UINT kDeliverPendingClickMessage = WM_APP + 0x4C9;

class TCallbackWindow : public Control {
public:
    static constexpr char kClassName[] = "TCallbackWindow";

    explicit TCallbackWindow(HWND parent);
    ~TCallbackWindow() override;

    // The window of the process, or nullptr while there is none (or its
    // window went with its owner).
    static TCallbackWindow* Shared() noexcept;
    // The window of the process, created as a child of `owner` when there is none.
    static TCallbackWindow& Ensure(Form& owner);
    // An icon is going away: a pending click must not reach it.
    static void ForgetIcon(const TTrayIcon* icon) noexcept;

    // The icon that the latest notification concerned.
    TTrayIcon* CurrentIcon() const noexcept { return currentIcon_; }

    // A TSingleClick has run out: OnClick of CurrentIcon when its click is
    // still pending; ClickPending is false afterwards in any case.
    void DeliverPendingClick();

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void TrayNotification(uint32_t id, UINT mouseMessage);
    void OpenPopup(TTrayIcon& icon, bool leftMenu, int x, int y);

    TTrayIcon* currentIcon_ = nullptr;
};

}  // namespace kestrin
