#include "tray/callback_window.h"

#include "framework/form.h"
#include "framework/portable/messages.h"

namespace kestrin {

namespace {
// The process's window and its icons; GUI thread only. Both are constant-
// initialised, so neither is built on first use.
TCallbackWindow* sharedWindow = nullptr;
constinit IconRegistry<TrayNotificationSink> registry;
}  // namespace

IconRegistry<TrayNotificationSink>& TrayIcons() { return registry; }

TCallbackWindow::TCallbackWindow(HWND parent) : Control(parent) {
    CreateOwn(kClassName, {.style = 0}, kNeverPaintedClassStyle);  // never shown
    sharedWindow = this;
}

TCallbackWindow::~TCallbackWindow() {
    if (sharedWindow == this) sharedWindow = nullptr;
}

TCallbackWindow* TCallbackWindow::Shared() noexcept {
    return sharedWindow && sharedWindow->Handle() ? sharedWindow : nullptr;
}

TCallbackWindow& TCallbackWindow::Ensure(Form& owner) {
    if (TCallbackWindow* window = Shared()) return *window;
    // The owner keeps it with its other controls; the window goes with the
    // owner's window.
    return owner.Add<TCallbackWindow>();
}

void TCallbackWindow::ForgetIcon(const TrayNotificationSink* icon) noexcept {
    if (sharedWindow && sharedWindow->currentIcon_ == icon) sharedWindow->currentIcon_ = nullptr;
}

bool TCallbackWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case kTrayCallbackMessage:
            // An identifier that no icon of ours has is ignored.
            if (TrayNotificationSink* icon = TrayIcons().Find(static_cast<uint32_t>(wParam))) {
                currentIcon_ = icon;
                icon->TrayNotification(static_cast<UINT>(lParam));
            }
            result = 0;
            return true;
        case kDeliverPendingClickMessage:
            DeliverPendingClick();
            result = 0;
            return true;
        default:
            return false;
    }
}

void TCallbackWindow::DeliverPendingClick() {
    if (currentIcon_) currentIcon_->DeliverPendingClick();
}

}  // namespace kestrin
