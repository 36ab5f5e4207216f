#pragma once
// A popup menu whose items carry their own handlers. Popup() shows it at a
// screen point, waits until it closes and then runs the chosen item's
// handler on the calling thread.
//
// The items are kept here; the system's menu is made when it is needed (a
// popup, or a look at Handle()) and let go after each popup, so that a tray
// menu costs nothing while the program waits.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "win32/handles.h"
#include "framework/portable/destroy_notifier.h"

namespace kestrin {

// Where a popup opens for TrackPopupMenuEx: the point, the flags that align
// the menu there (TPM_*ALIGN, with TPM_VERTICAL or TPM_HORIZONTAL) and a
// rectangle the system keeps the menu off where it cannot lie as aligned.
struct PopupPosition {
    POINT At{};
    UINT Alignment = TPM_CENTERALIGN;
    RECT Exclude{};
};

class PopupMenu {
public:
    // The owner window receives the menu's messages while it is open.
    explicit PopupMenu(HWND owner);
    ~PopupMenu();
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    // Items are appended; the result is the item's index (its position).
    // Captions are cp932 text, with "&" marking an access key.
    int AddItem(std::string_view caption, std::function<void()> OnClick = {});
    int AddSeparator();

    int ItemCount() const noexcept { return static_cast<int>(items_.size()); }

    // The system's menu with the current items (made by the call; null when
    // the system refuses it). Valid until the next popup ends.
    HMENU Handle() const;

    // TPM_LEFTALIGN, TPM_CENTERALIGN (the default) or TPM_RIGHTALIGN, with
    // TPM_TOPALIGN (the default) or TPM_BOTTOMALIGN: where the menu lies
    // relative to the point it is given.
    void SetAlignment(UINT alignment) noexcept { alignment_ = alignment; }

    // Shows the menu at (x, y) in screen coordinates (items picked with the
    // right button, as in a context menu) and returns when it has closed,
    // after the chosen item's handler (if any) has run; an exception from the
    // handler passes to the caller. True when an item was chosen.
    bool Popup(int x, int y);

    // Shows the menu at `position`, with the alignment given there, and
    // returns once it has closed: the chosen item's handler, not yet run
    // (empty when nothing was chosen). For a caller with its own state to
    // settle first (a tray icon that is to open its menu again while the
    // dialog the handler shows is up).
    std::function<void()> Track(const PopupPosition& position);

    // Observers are told when the menu is being destroyed.
    DestroyNotifier::Token AddDestroyObserver(std::function<void()> observer) {
        return destroyNotifier_.Add(std::move(observer));
    }
    void RemoveDestroyObserver(DestroyNotifier::Token token) { destroyNotifier_.Remove(token); }

private:
    struct Item {
        std::string caption;  // empty for a separator
        bool separator = false;
        std::function<void()> OnClick;
    };

    // Shows the menu; the chosen command (index + 1), 0 for none.
    UINT TrackCommand(int x, int y, UINT alignment, TPMPARAMS* params);

    HWND owner_;
    mutable MenuHandle menu_;
    bool tracking_ = false;  // inside TrackPopupMenuEx
    std::vector<Item> items_;
    UINT alignment_ = TPM_CENTERALIGN;
    DestroyNotifier destroyNotifier_;
};

}  // namespace kestrin
