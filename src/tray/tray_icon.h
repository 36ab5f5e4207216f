#pragma once
// TTrayIcon: one icon in the notification area of the taskbar. It keeps the
// shell's copy of its picture and tip up to date, turns the shell's mouse
// notifications (through the process's TCallbackWindow) into events and
// popup menus, and can animate the frames of an image list (TTrayIconAnimate).
//
// Threads: everything runs on the GUI thread except StartAnimation and
// StopAnimation, which may also be called from another thread (the interval
// thread's automatic pass), and the animation worker itself. The record
// handed to the shell is guarded by a lock, so the worker and the other
// threads never send a half-written one.
#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "framework/component.h"
#include "win32/icon_picture.h"
#include "win32/lock.h"
#include "framework/portable/destroy_notifier.h"
#include "win32/portable/shift_state.h"
#include "tray/callback_window.h"
#include "tray/tray_icon_animation.h"

namespace kestrin {

class Form;
class ImageList;
class PopupMenu;

class TTrayIcon : public Component, public TrayNotificationSink, public AnimatedIcon {
public:
    using NotifyEvent = std::function<void(TTrayIcon& sender)>;
    using MouseMoveEvent = std::function<void(TTrayIcon& sender, ShiftState shift, int x, int y)>;
    using MouseEvent = std::function<void(TTrayIcon& sender, MouseButton button, ShiftState shift, int x, int y)>;

    static constexpr int32_t kMinAnimateRate = 100;

    // Takes the next identifier of the process (KestrinError "タスクトレイに
    // アイコンを登録できません。" when 100 icons exist) and, for the first
    // icon, creates the shared callback window as a child of the owner's
    // window, which must exist by then. The owner's window is let take
    // "TaskbarCreated" from a process with fewer rights (Explorer's).
    explicit TTrayIcon(Form& owner);
    // Ends the animation worker, takes the icon out of the tray and frees
    // the identifier.
    ~TTrayIcon() override;
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;

    // The program makes its icon outside any form description, so
    // SetVisible(true) adds it to the tray at once. One made inside a
    // description (LoadingScope) asks nothing of the shell until the
    // description is loaded, and is added then if Visible.

    // --- Properties (an unchanged value is not applied again) ---

    // The animation's frames; not owned. Kept while an animation runs.
    ImageList* AnimateIcons() const noexcept override { return animateIcons_.load(); }
    void SetAnimateIcons(ImageList* list);
    // Milliseconds each frame is shown; values below 100 are stored as 100.
    int32_t AnimateRate() const noexcept override { return animateRate_.load(); }
    void SetAnimateRate(int32_t milliseconds) noexcept;
    // Button presses open the assigned popup menus.
    bool AutoPopup() const noexcept { return autoPopup_; }
    void SetAutoPopup(bool autoPopup) noexcept { autoPopup_ = autoPopup; }
    // A disabled icon ignores the shell's notifications; disabling forgets a pending click.
    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool enabled) noexcept;
    // The static picture. A given picture is copied in (and shown, when the
    // icon is in the tray); nullptr clears the picture and hides the icon.
    const IconPicture& Icon() const noexcept { return icon_; }
    void SetIcon(const IconPicture* picture);
    // The same for a picture nobody else needs: it is taken, not copied.
    void SetIcon(IconPicture&& picture);
    // Menus for the left and the right button; not owned.
    PopupMenu* LBPopupMenu() const noexcept { return lbPopupMenu_; }
    void SetLBPopupMenu(PopupMenu* menu);
    PopupMenu* RBPopupMenu() const noexcept { return rbPopupMenu_; }
    void SetRBPopupMenu(PopupMenu* menu);
    // Tool tip: the first 62 bytes of the text given (cp932, never half a character).
    std::string TipHelp() const;
    void SetTipHelp(std::string_view tip);
    // The icon is wanted in the tray; stays false while there is no picture.
    bool Visible() const noexcept { return visible_; }
    void SetVisible(bool visible);

    // --- Events (run on the GUI thread) ---
    NotifyEvent OnClick;
    NotifyEvent OnDblClick;
    MouseMoveEvent OnMouseMove;
    MouseEvent OnMouseDown;
    MouseEvent OnMouseUp;

    // --- Animation ---

    // Cycles the frames of AnimateIcons, one every AnimateRate ms, or with
    // `singleStep` shows the first frame and holds it. Does nothing while an
    // animation runs or when there are no frames.
    void StartAnimation(bool singleStep);
    // Ends the animation and returns once the worker has parked and the
    // static picture has been sent (KestrinError when the shell refuses it;
    // the animation is stopped by then).
    void StopAnimation();
    bool Animating() const noexcept override { return animating_.load(); }
    bool SingleStep() const noexcept override { return singleStep_.load(); }
    // The worker, once the first animation has created it.
    const TTrayIconAnimate* AnimationWorker() const noexcept;

    // --- State ---
    int32_t IconId() const noexcept { return iconId_; }
    // A NIM_ADD succeeded and no NIM_DELETE followed.
    bool IconAdded() const noexcept { return iconAdded_.load(); }
    bool ClickPending() const noexcept { return clickPending_; }

    // The icon of the process with that identifier, or nullptr.
    static TTrayIcon* FromId(uint32_t id);

    // The shell's broadcast after the taskbar was (re)created. It reaches
    // top-level windows only, so the owner form passes it on: with Visible
    // true the icon is added again. Never throws; a failed add leaves
    // IconAdded false until the next broadcast.
    static UINT TaskbarCreatedMessage();
    void HandleTaskbarCreated() noexcept;

    // TrayNotificationSink: the shell's notifications, through the callback window.
    void TrayNotification(UINT mouseMessage) override;
    void DeliverPendingClick() override;

protected:
    void OnLoaded() override;

private:
    enum class NotifyAction { Add, Modify, Delete };

    // An identifier taken from the callback window's registry for as long as it lives.
    class RegistryEntry {
    public:
        RegistryEntry(TCallbackWindow& window, TTrayIcon* icon);
        ~RegistryEntry();
        RegistryEntry(const RegistryEntry&) = delete;
        RegistryEntry& operator=(const RegistryEntry&) = delete;
        int32_t Id() const noexcept { return id_; }

    private:
        TCallbackWindow& window_;
        int32_t id_;
    };

    void UpdateNotifyIcon(NotifyAction action);
    // Fills picture, tip and flags of the record and sends it; recordMutex_ held.
    bool SendLocked(DWORD message, HICON icon);
    // The picture the shell is to show now; recordMutex_ held.
    HICON CurrentPictureLocked() const noexcept;
    // The static picture changed (or an animation ended): show it.
    void IconChanged();
    // Makes `icon` the picture (nothing for none) and shows the change.
    void TakeIcon(IconHandle icon);
    // Holds `menu` in `held`, forgotten when it is destroyed before the icon.
    void WatchMenu(PopupMenu*& held, DestroyNotifier::Token& token, PopupMenu* menu);
    void ForgetAnimateIcons() noexcept;
    // Opens the menu for a press at `pointer`; its chosen item's handler runs
    // once the menu has closed and this icon is ready for the next press.
    void OpenPopup(bool leftMenu, POINT pointer);
    // AnimatedIcon: a frame of the worker.
    void PresentFrame(const std::function<HICON()>& takeFrame) override;

    Form& owner_;
    // The process's callback window; its owner outlives this icon.
    TCallbackWindow& callback_;
    RegistryEntry registryEntry_;
    const int32_t iconId_;

    std::atomic<bool> animating_{false};
    std::atomic<ImageList*> animateIcons_{nullptr};
    std::atomic<bool> singleStep_{false};
    std::atomic<int32_t> animateRate_{500};
    bool autoPopup_ = true;
    bool enabled_ = true;
    IconPicture icon_;  // replaced under recordMutex_
    PopupMenu* lbPopupMenu_ = nullptr;
    PopupMenu* rbPopupMenu_ = nullptr;
    std::string tipHelp_;  // recordMutex_
    bool visible_ = false;
    std::atomic<bool> iconAdded_{false};
    bool clickPending_ = false;
    bool openingPopup_ = false;  // from a press until its menu has closed (not while its handler runs)

    DestroyNotifier::Token lbToken_ = 0;
    DestroyNotifier::Token rbToken_ = 0;
    DestroyNotifier::Token animateIconsToken_ = 0;

    // Guards record_, tipHelp_, the worker pointer and the worker's frame.
    mutable Lock recordMutex_;
    NOTIFYICONDATAA record_{};
    // Serialises StartAnimation, StopAnimation and the worker's end.
    Lock animationMutex_;
    std::unique_ptr<TTrayIconAnimate> animate_;
};

}  // namespace kestrin
