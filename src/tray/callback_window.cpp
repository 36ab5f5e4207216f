#include "tray/callback_window.h"

#include "framework/form.h"
#include "framework/portable/messages.h"

namespace kestrin {

namespace {

BOOL CALLBACK FindShared(HWND topLevel, LPARAM found) {
    // Only a form holds it; that is seen in the process, a child is asked of Wine's server.
    if (!TopLevelWindow::FromHandle(topLevel)) return TRUE;
    auto*& window = *reinterpret_cast<TCallbackWindow**>(found);
    window = static_cast<TCallbackWindow*>(
        Control::FromHandle(FindWindowExA(topLevel, nullptr, TCallbackWindow::kClassName, nullptr)));
    return window == nullptr;
}

}  // namespace

TCallbackWindow::TCallbackWindow(HWND parent) : Control(parent) {
    CreateOwn(kClassName, {.style = 0}, kNeverPaintedClassStyle);  // never shown
}

TCallbackWindow* TCallbackWindow::Shared() noexcept {
    // A child of a top-level window of the GUI thread, the tray's only thread.
    TCallbackWindow* window = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindShared, reinterpret_cast<LPARAM>(&window));
    return window;
}

TCallbackWindow& TCallbackWindow::Ensure(Form& owner) {
    if (TCallbackWindow* window = Shared()) return *window;
    // The owner keeps it with its other controls; the window goes with the
    // owner's window.
    return owner.Add<TCallbackWindow>();
}

bool TCallbackWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case kTrayCallbackMessage:
            // An identifier that no icon of ours has is ignored.
            if (TrayNotificationSink* icon = icons_.Find(static_cast<uint32_t>(wParam))) {
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
