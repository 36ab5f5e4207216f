#include "tray/tray_icon.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "win32/main_thread.h"
#include "framework/application.h"
#include "framework/form.h"
#include "framework/image_list.h"
#include "framework/popup_menu.h"
#include "win32/portable/error.h"
#include "framework/portable/messages.h"
#include "tray/portable/icon_registry.h"
#include "tray/portable/mouse_rules.h"
#include "tray/shell_notify.h"
#include "tray/single_click.h"
#include "tray/tray_menu_position.h"
#include "tray/wine_taskbar_keys.h"
#include "win32/diagnostics.h"
#include "win32/system_dlls.h"
#include "win32/portable/scope_exit.h"

namespace kestrin {

namespace {

constexpr char kTrayError[] = "タスクトレイにアイコンを登録できません。";

// The record's first layout (64-byte tip) is what the shell gets.
static_assert(NOTIFYICONDATAA_V1_SIZE == 88);
static_assert(sizeof(NOTIFYICONDATAA{}.szTip) > kMaxTipBytes);

// The button of a notification, and the button's flag in the shift state.
struct ButtonAndShift {
    MouseButton button;
    ShiftState shift;
};

ButtonAndShift ButtonOf(TrayButton button) {
    switch (button) {
        case TrayButton::Right:
            return {mbRight, ssRight};
        case TrayButton::Middle:
            return {mbMiddle, ssMiddle};
        case TrayButton::Left:
        default:
            return {mbLeft, ssLeft};
    }
}

}  // namespace

// The registry keeps the icons as notification sinks (all the callback window knows of them).
TTrayIcon::RegistryEntry::RegistryEntry(TCallbackWindow& window, TTrayIcon* icon)
    : window_(window), id_(window.Icons().Register(icon)) {}

TTrayIcon::RegistryEntry::~RegistryEntry() { window_.Icons().Unregister(id_); }

TTrayIcon::TTrayIcon(Form& owner)
    : owner_(owner), callback_(TCallbackWindow::Ensure(owner)), registryEntry_(callback_, this),
      iconId_(registryEntry_.Id()) {
    tipHelp_ = "TipHelp";
    record_.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record_.uID = static_cast<UINT>(iconId_);
    record_.uCallbackMessage = kTrayCallbackMessage;
    // An elevated program gets the broadcast of a restarted Explorer (which
    // runs with the user's rights) only through its window's message filter
    // (UIPI); the filter came with Windows 7.
    if (const auto allow = FindLoadedExport<decltype(&ChangeWindowMessageFilterEx)>("user32.dll",
                                                                                    "ChangeWindowMessageFilterEx"))
        allow(owner.Handle(), TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);
}

TTrayIcon::~TTrayIcon() {
    {
        std::lock_guard guard(animationMutex_);
        std::unique_ptr<TTrayIconAnimate> worker;
        {
            std::lock_guard lock(recordMutex_);
            worker = std::move(animate_);
        }
        animating_.store(false);
        worker.reset();  // ends the thread and waits for it
    }
    if (iconAdded_.load()) {
        try {
            UpdateNotifyIcon(NotifyAction::Delete);
        } catch (...) {
            // Only a test's stand-in for the shell can throw here.
            TraceError("tray icon not deleted");
        }
    }
    if (lbPopupMenu_) lbPopupMenu_->RemoveDestroyObserver(lbToken_);
    if (rbPopupMenu_) rbPopupMenu_->RemoveDestroyObserver(rbToken_);
    if (ImageList* list = animateIcons_.load()) list->RemoveDestroyObserver(animateIconsToken_);
    callback_.ForgetIcon(this);
}

void TTrayIcon::OnLoaded() { UpdateNotifyIcon(NotifyAction::Add); }

void TTrayIcon::SetAnimateIcons(ImageList* list) {
    std::lock_guard guard(animationMutex_);
    // The worker reads the list for as long as an animation runs.
    if (animating_.load()) return;
    ImageList* held = animateIcons_.load();
    if (list == held) return;
    if (held) held->RemoveDestroyObserver(animateIconsToken_);
    animateIconsToken_ = 0;
    animateIcons_.store(list);
    if (list) animateIconsToken_ = list->AddDestroyObserver([this] { ForgetAnimateIcons(); });
}

void TTrayIcon::ForgetAnimateIcons() noexcept {
    // The list is going: the worker must be done with it first.
    if (animating_.load()) {
        try {
            StopAnimation();
        } catch (...) {
            ReportUnhandled(std::current_exception());
        }
    }
    std::lock_guard guard(animationMutex_);
    animateIcons_.store(nullptr);
    animateIconsToken_ = 0;
}

void TTrayIcon::SetAnimateRate(int32_t milliseconds) noexcept {
    animateRate_.store(std::max(milliseconds, kMinAnimateRate));
}

void TTrayIcon::SetEnabled(bool enabled) noexcept {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (!enabled) clickPending_ = false;
}

void TTrayIcon::SetIcon(const IconPicture* picture) {
    TakeIcon(Duplicate(picture ? picture->Handle() : nullptr));
    // No picture: shown without one first (above), then taken out of the tray.
    if (!picture) SetVisible(false);
}

void TTrayIcon::SetIcon(IconPicture&& picture) { TakeIcon(picture.Release()); }

void TTrayIcon::TakeIcon(IconHandle icon) {
    {
        // A stop on another thread may be handing the old picture to the
        // shell right now; it is destroyed only under the lock.
        std::lock_guard lock(recordMutex_);
        icon_.Adopt(std::move(icon));
    }
    IconChanged();
}

void TTrayIcon::SetLBPopupMenu(PopupMenu* menu) { WatchMenu(lbPopupMenu_, lbToken_, menu); }

void TTrayIcon::SetRBPopupMenu(PopupMenu* menu) { WatchMenu(rbPopupMenu_, rbToken_, menu); }

void TTrayIcon::WatchMenu(PopupMenu*& held, DestroyNotifier::Token& token, PopupMenu* menu) {
    if (menu == held) return;
    if (held) held->RemoveDestroyObserver(token);
    token = 0;
    held = menu;
    if (menu) token = menu->AddDestroyObserver([&held, &token] { held = nullptr, token = 0; });
}

std::string TTrayIcon::TipHelp() const {
    std::lock_guard lock(recordMutex_);
    return tipHelp_;
}

void TTrayIcon::SetTipHelp(std::string_view tip) {
    std::string cut = CutTip(tip);
    {
        std::lock_guard lock(recordMutex_);
        if (cut == tipHelp_) return;
        tipHelp_ = std::move(cut);
    }
    if (iconAdded_.load()) UpdateNotifyIcon(NotifyAction::Modify);
}

void TTrayIcon::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible && !icon_.Empty();
    if (Loading()) return;  // Loaded adds the icon
    if (visible_)
        UpdateNotifyIcon(NotifyAction::Add);
    else if (iconAdded_.load())
        UpdateNotifyIcon(NotifyAction::Delete);
}

void TTrayIcon::StartAnimation(bool singleStep) {
    std::lock_guard guard(animationMutex_);
    if (animating_.load()) return;
    ImageList* list = animateIcons_.load();
    if (!list || list->Count() <= 0) return;
    if (!animate_) {
        auto worker = std::make_unique<TTrayIconAnimate>(*this);
        std::lock_guard lock(recordMutex_);
        animate_ = std::move(worker);
    }
    // The worker is parked: it sees both values once it runs.
    singleStep_.store(singleStep);
    animating_.store(true);
    animate_->Resume();
}

void TTrayIcon::StopAnimation() {
    std::lock_guard guard(animationMutex_);
    if (!animating_.load()) return;
    animating_.store(false);
    animate_->WaitUntilParked();
    // The worker sends nothing more, and ends: a resident program keeps no
    // thread, and no frames, between two animations.
    std::unique_ptr<TTrayIconAnimate> ended;
    {
        std::lock_guard lock(recordMutex_);
        ended = std::move(animate_);
    }
    ended.reset();
    if (ImageList* list = animateIcons_.load()) list->Trim();
    // The static picture is the last one.
    IconChanged();
}

const TTrayIconAnimate* TTrayIcon::AnimationWorker() const noexcept {
    std::lock_guard lock(recordMutex_);
    return animate_.get();
}

TTrayIcon* TTrayIcon::FromId(uint32_t id) {
    // Every sink there is an icon.
    TCallbackWindow* window = TCallbackWindow::Shared();
    return window ? static_cast<TTrayIcon*>(window->Icons().Find(id)) : nullptr;
}

UINT TTrayIcon::TaskbarCreatedMessage() {
    static const UINT message = [] {
        RequireStartingThread("Kestrin: \"TaskbarCreated\" was first registered off the main thread.");
        return RegisterWindowMessageA("TaskbarCreated");
    }();
    return message;
}

void TTrayIcon::HandleTaskbarCreated() noexcept {
    if (!visible_ || Loading()) return;
    try {
        const HWND window = callback_.Handle();
        std::lock_guard lock(recordMutex_);
        // The new taskbar knows no icons; an icon that is still there (a
        // broadcast without a restart) refuses the add but takes a modify.
        iconAdded_.store(false);
        record_.hWnd = window;
        const HICON picture = CurrentPictureLocked();
        const bool present = SendLocked(NIM_ADD, picture) || SendLocked(NIM_MODIFY, picture);
        iconAdded_.store(present);
    } catch (...) {
        // Not in the tray now; the next broadcast tries again.
        TraceError("tray icon not added again");
    }
}

void TTrayIcon::UpdateNotifyIcon(NotifyAction action) {
    switch (action) {
        case NotifyAction::Add: {
            if (!visible_) return;
            const HWND window = callback_.Handle();
            std::lock_guard lock(recordMutex_);
            record_.hWnd = window;
            if (!SendLocked(NIM_ADD, CurrentPictureLocked())) throw KestrinError(kTrayError, GetLastError());
            iconAdded_.store(true);
            return;
        }
        case NotifyAction::Modify: {
            std::lock_guard lock(recordMutex_);
            const HICON picture = CurrentPictureLocked();
            // A shell that was started again has lost the icon (its
            // "TaskbarCreated" may still be on its way): the icon is added
            // again, and only a shell that refuses that too is an error.
            if (!SendLocked(NIM_MODIFY, picture) && !SendLocked(NIM_ADD, picture))
                throw KestrinError(kTrayError, GetLastError());
            return;
        }
        case NotifyAction::Delete: {
            std::lock_guard lock(recordMutex_);
            SendLocked(NIM_DELETE, CurrentPictureLocked());
            iconAdded_.store(false);
            return;
        }
    }
}

HICON TTrayIcon::CurrentPictureLocked() const noexcept {
    if (animating_.load() && animate_) return animate_->FrameHandleLocked();
    return icon_.Handle();
}

bool TTrayIcon::SendLocked(DWORD message, HICON icon) {
    record_.hIcon = icon;
    std::memset(record_.szTip, 0, sizeof record_.szTip);
    std::memcpy(record_.szTip, tipHelp_.data(), tipHelp_.size());
    record_.uFlags = NotifyFlagsFor(tipHelp_);
    return ShellNotify(message, record_);
}

void TTrayIcon::IconChanged() {
    if (iconAdded_.load()) UpdateNotifyIcon(NotifyAction::Modify);
}

void TTrayIcon::PresentFrame(const std::function<HICON()>& takeFrame) {
    std::lock_guard lock(recordMutex_);
    const HICON frame = takeFrame();
    // The shell's refusal is ignored: that frame is just not shown.
    if (iconAdded_.load()) SendLocked(NIM_MODIFY, frame);
}

void TTrayIcon::TrayNotification(UINT mouseMessage) {
    if (!enabled_) return;

    // The pointer, read for every notification, moves included.
    POINT cursor{};
    GetCursorPos(&cursor);
    const int x = cursor.x;
    const int y = cursor.y;

    TrayMouseSetup setup;
    setup.HasLBPopupMenu = lbPopupMenu_ != nullptr;
    setup.HasRBPopupMenu = rbPopupMenu_ != nullptr;
    setup.AutoPopup = autoPopup_;
    setup.HasOnMouseMove = static_cast<bool>(OnMouseMove);
    setup.HasOnMouseDown = static_cast<bool>(OnMouseDown);
    setup.HasOnMouseUp = static_cast<bool>(OnMouseUp);
    setup.HasOnClick = static_cast<bool>(OnClick);
    setup.HasOnDblClick = static_cast<bool>(OnDblClick);
    const TrayMouseDecision decision = DecideTrayMouse(mouseMessage, setup, clickPending_);
    clickPending_ = decision.ClickPending;

    // Handlers are copied before the call: one may replace itself (or
    // destroy this icon).
    switch (decision.Action) {
        case TrayMouseAction::OpenLBPopupMenu:
            OpenPopup(true, cursor);
            break;
        case TrayMouseAction::OpenRBPopupMenu:
            OpenPopup(false, cursor);
            break;
        case TrayMouseAction::FireMouseMove: {
            const MouseMoveEvent handler = OnMouseMove;
            handler(*this, 0, x, y);
            break;
        }
        case TrayMouseAction::FireMouseDown:
        case TrayMouseAction::FireMouseUp: {
            const MouseEvent handler = decision.Action == TrayMouseAction::FireMouseDown ? OnMouseDown : OnMouseUp;
            const auto [button, shift] = ButtonOf(decision.Button);
            handler(*this, button, shift, x, y);
            break;
        }
        case TrayMouseAction::FireDblClick: {
            const NotifyEvent handler = OnDblClick;
            handler(*this);
            break;
        }
        case TrayMouseAction::StartClickWaiter:
            TSingleClick::Start(callback_.Handle(), kDeliverPendingClickMessage);
            break;
        case TrayMouseAction::None:
        default:
            break;
    }
}

void TTrayIcon::OpenPopup(bool leftMenu, POINT pointer) {
    // A second press handled among the messages below, or while the menu
    // is open, would open it a second time once the user has closed it. The
    // chosen item's handler runs after that, so a press while the dialog it
    // shows is up opens the menu again.
    if (openingPopup_) return;
    const int32_t id = iconId_;
    std::function<void()> chosen;
    {
        const ScopeExit opened([this, id] {
            if (FromId(static_cast<uint32_t>(id)) == this) openingPopup_ = false;
        });
        openingPopup_ = true;
        // The menu closes when the user clicks elsewhere only if the owner's
        // window is the foreground window while it is open.
        SetForegroundWindow(owner_.Handle());
        App().ProcessMessages();
        // Those messages may have taken this icon or its menu away.
        if (FromId(static_cast<uint32_t>(id)) != this) return;
        PopupMenu* menu = leftMenu ? lbPopupMenu_ : rbPopupMenu_;
        if (!menu) return;
        const PopupPosition position = TrayMenuPosition(callback_.Handle(), static_cast<UINT>(iconId_), pointer);
        const WineTaskbarKeys keys(owner_.Handle());
        chosen = menu->Track(position);
    }
    // The handler may destroy this icon (閉じる): nothing of it is used after.
    if (chosen) chosen();
}

void TTrayIcon::DeliverPendingClick() {
    const bool deliver = ShouldDeliverPendingClick(static_cast<bool>(OnClick), clickPending_);
    clickPending_ = false;
    if (!deliver) return;
    const NotifyEvent handler = OnClick;
    handler(*this);
}

}  // namespace kestrin
