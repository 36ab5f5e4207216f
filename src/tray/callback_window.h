#pragma once
// TCallbackWindow: the hidden child window that receives the shell's
// notifications (kTrayCallbackMessage, wParam = icon identifier, lParam =
// mouse message) for every tray icon of the process and hands each to its
// icon, which it finds by identifier in its registry. One per process: the
// first tray icon creates it as a child of its owner form, which owns it
// from then on; the other icons find it in the window tree.
//
// Runs on the GUI thread; exceptions from handlers go to the application's
// top-level error handler (the control's window procedure catches them).
#include <windows.h>

#include <cstdint>

#include "framework/control.h"
#include "tray/portable/icon_registry.h"

namespace kestrin {

class Form;

// What the window hands the notifications to (a tray icon).
class TrayNotificationSink {
public:
    // A mouse notification of the shell for this icon.
    virtual void TrayNotification(UINT mouseMessage) = 0;
    // The double-click time of a click on this icon has run out.
    virtual void DeliverPendingClick() = 0;

protected:
    ~TrayNotificationSink() = default;
};

class TCallbackWindow : public Control {
public:
    static constexpr char kClassName[] = "TCallbackWindow";

    explicit TCallbackWindow(HWND parent);

    // The window of the process, or nullptr while there is none (or its
    // window went with its owner).
    static TCallbackWindow* Shared() noexcept;
    // The window of the process, created as a child of `owner` when there is none.
    static TCallbackWindow& Ensure(Form& owner);

    // The tray icons of the process by identifier, typed as what this window
    // calls (each is a TTrayIcon; naming that here would make this module and
    // the icon's include each other).
    IconRegistry<TrayNotificationSink>& Icons() noexcept { return icons_; }
    // An icon is going away: a pending click must not reach it.
    void ForgetIcon(const TrayNotificationSink* icon) noexcept {
        if (currentIcon_ == icon) currentIcon_ = nullptr;
    }

    // The icon that the latest notification concerned.
    TrayNotificationSink* CurrentIcon() const noexcept { return currentIcon_; }

    // A TSingleClick has run out: the current icon delivers its pending click.
    void DeliverPendingClick();

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    IconRegistry<TrayNotificationSink> icons_;
    TrayNotificationSink* currentIcon_ = nullptr;
};

}  // namespace kestrin
