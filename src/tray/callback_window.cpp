#include "tray/callback_window.h"

#include <shellapi.h>

#include "platform/application.h"
#include "platform/form.h"
#include "platform/popup_menu.h"
#include "tray/TrayIcon.h"
#include "tray/portable/mouse_rules.h"
#include "tray/single_click.h"

namespace kestrin {

namespace {

// The process's window; GUI thread only.
TCallbackWindow* sharedWindow = nullptr;

// The taskbar's rectangle is asked for with the record's first layout.
static_assert(sizeof(APPBARDATA) == 36);

MouseButton ButtonOf(TrayButton button) {
    switch (button) {
        case TrayButton::Right:
            return mbRight;
        case TrayButton::Middle:
            return mbMiddle;
        case TrayButton::Left:
        default:
            return mbLeft;
    }
}

ShiftState ShiftOf(TrayButton button) {
    switch (button) {
        case TrayButton::Right:
            return ssRight;
        case TrayButton::Middle:
            return ssMiddle;
        case TrayButton::Left:
        default:
            return ssLeft;
    }
}

}  // namespace

TCallbackWindow::TCallbackWindow(HWND parent) : Control(parent) {
    CreateOwn(kClassName, "", 0, 0, Bounds{});
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

void TCallbackWindow::ForgetIcon(const TTrayIcon* icon) noexcept {
    if (sharedWindow && sharedWindow->currentIcon_ == icon) sharedWindow->currentIcon_ = nullptr;
}

bool TCallbackWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case kTrayCallbackMessage:
            TrayNotification(static_cast<uint32_t>(wParam), static_cast<UINT>(lParam));
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

void TCallbackWindow::TrayNotification(uint32_t id, UINT mouseMessage) {
    TTrayIcon* icon = TTrayIcon::FromId(id);
    if (!icon) return;
    currentIcon_ = icon;
    if (!icon->Enabled()) return;

    // Read for every notification, moves included: the pointer, and the
    // taskbar's top edge, where popup menus open.
    POINT cursor{};
    GetCursorPos(&cursor);
    APPBARDATA taskbar{};
    taskbar.cbSize = sizeof taskbar;
    SHAppBarMessage(ABM_GETTASKBARPOS, &taskbar);
    const int x = cursor.x;
    const int y = cursor.y;
    const int taskbarTop = taskbar.rc.top;

    TrayMouseSetup setup;
    setup.HasLBPopupMenu = icon->LBPopupMenu() != nullptr;
    setup.HasRBPopupMenu = icon->RBPopupMenu() != nullptr;
    setup.AutoPopup = icon->AutoPopup();
    setup.HasOnMouseMove = static_cast<bool>(icon->OnMouseMove);
    setup.HasOnMouseDown = static_cast<bool>(icon->OnMouseDown);
    setup.HasOnMouseUp = static_cast<bool>(icon->OnMouseUp);
    setup.HasOnClick = static_cast<bool>(icon->OnClick);
    setup.HasOnDblClick = static_cast<bool>(icon->OnDblClick);
    const TrayMouseDecision decision = DecideTrayMouse(mouseMessage, setup, icon->ClickPending());
    icon->SetClickPending(decision.ClickPending);

    // Handlers are copied before the call: one may replace itself.
    switch (decision.Action) {
        case TrayMouseAction::OpenLBPopupMenu:
            OpenPopup(*icon, true, x, taskbarTop);
            break;
        case TrayMouseAction::OpenRBPopupMenu:
            OpenPopup(*icon, false, x, taskbarTop);
            break;
        case TrayMouseAction::FireMouseMove: {
            const TTrayIcon::MouseMoveEvent handler = icon->OnMouseMove;
            handler(*icon, 0, x, y);
            break;
        }
        case TrayMouseAction::FireMouseDown: {
            const TTrayIcon::MouseEvent handler = icon->OnMouseDown;
            handler(*icon, ButtonOf(decision.Button), ShiftOf(decision.Button), x, y);
            break;
        }
        case TrayMouseAction::FireMouseUp: {
            const TTrayIcon::MouseEvent handler = icon->OnMouseUp;
            handler(*icon, ButtonOf(decision.Button), ShiftOf(decision.Button), x, y);
            break;
        }
        case TrayMouseAction::FireDblClick: {
            const TTrayIcon::NotifyEvent handler = icon->OnDblClick;
            handler(*icon);
            break;
        }
        case TrayMouseAction::StartClickWaiter:
            TSingleClick::Start(Handle(), kDeliverPendingClickMessage);
            break;
        case TrayMouseAction::None:
        default:
            break;
    }
}

void TCallbackWindow::OpenPopup(TTrayIcon& icon, bool leftMenu, int x, int y) {
    const int32_t id = icon.IconId();
    // The menu closes when the user clicks elsewhere only if the owner's
    // window is the foreground window while it is open.
    SetForegroundWindow(icon.Owner().Handle());
    App().ProcessMessages();
    // Those messages may have taken the icon or its menu away.
    if (TTrayIcon::FromId(static_cast<uint32_t>(id)) != &icon) return;
    PopupMenu* menu = leftMenu ? icon.LBPopupMenu() : icon.RBPopupMenu();
    if (menu) menu->Popup(x, y);
}

void TCallbackWindow::DeliverPendingClick() {
    TTrayIcon* icon = currentIcon_;
    if (!icon) return;
    const bool deliver = ShouldDeliverPendingClick(static_cast<bool>(icon->OnClick), icon->ClickPending());
    icon->SetClickPending(false);
    if (!deliver) return;
    const TTrayIcon::NotifyEvent handler = icon->OnClick;
    handler(*icon);
}

}  // namespace kestrin
