#include "framework/popup_menu.h"

#include "win32/portable/error.h"

namespace kestrin {

namespace {
constexpr char kMenuError[] = "メニューを作成できません。";
}

PopupMenu::PopupMenu(HWND owner) : owner_(owner) {}

PopupMenu::~PopupMenu() { destroyNotifier_.Notify(); }

int PopupMenu::AddItem(const char* name, std::string_view caption, std::function<void()> OnClick) {
    items_.push_back({name, std::string(caption), false, true, std::move(OnClick)});
    menu_.reset();  // made again with the new item
    return ItemCount() - 1;
}

int PopupMenu::AddSeparator(const char* name) {
    items_.push_back({name, {}, true, true, {}});
    menu_.reset();
    return ItemCount() - 1;
}

int PopupMenu::IndexOf(std::string_view name) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].name == name) return static_cast<int>(i);
    return -1;
}

void PopupMenu::SetItemEnabled(int index, bool enabled) {
    if (index < 0 || index >= ItemCount()) return;
    items_[static_cast<size_t>(index)].enabled = enabled;
    if (menu_)
        EnableMenuItem(menu_.get(), static_cast<UINT>(index), MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
}

void PopupMenu::SetItemEnabled(std::string_view name, bool enabled) { SetItemEnabled(IndexOf(name), enabled); }

bool PopupMenu::ItemEnabled(int index) const {
    if (index < 0 || index >= ItemCount()) return false;
    return items_[static_cast<size_t>(index)].enabled;
}

HMENU PopupMenu::Handle() const {
    if (menu_) return menu_.get();
    MenuHandle menu(CreatePopupMenu());
    if (!menu) return nullptr;
    for (size_t i = 0; i < items_.size(); ++i) {
        const Item& item = items_[i];
        // Command identifiers are index + 1: TrackPopupMenu returns 0 for "nothing chosen".
        const BOOL added = item.separator ? AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr)
                                          : AppendMenuA(menu.get(), MF_STRING | (item.enabled ? 0 : MF_GRAYED),
                                                        static_cast<UINT_PTR>(i + 1), item.caption.c_str());
        if (!added) return nullptr;
    }
    menu_ = std::move(menu);
    return menu_.get();
}

bool PopupMenu::Popup(int x, int y, DWORD keysThread) {
    // The owner's messages are handled while the menu is open, so a second
    // request can come then (the tray icon clicked again): the open menu
    // stays as it is, its items included.
    if (tracking_) return false;
    const HMENU menu = Handle();
    if (!menu) throw KestrinError(kMenuError);
    const UINT flags =
        alignment_ | TPM_RETURNCMD | (trackButton_ == TrackButton::Left ? TPM_LEFTBUTTON : TPM_RIGHTBUTTON);
    tracking_ = true;
    const DWORD self = GetCurrentThreadId();
    const bool joined = keysThread && keysThread != self && AttachThreadInput(self, keysThread, TRUE);
    if (joined) {
        // The joined input may have the other thread's foreground and focus.
        SetForegroundWindow(owner_);
        SetFocus(owner_);
    }
    const auto command = static_cast<UINT>(TrackPopupMenu(menu, flags, x, y, 0, owner_, nullptr));
    if (joined) AttachThreadInput(self, keysThread, FALSE);
    tracking_ = false;
    menu_.reset();
    // The owner must see a message after the menu: otherwise a menu opened
    // from the notification area closes at once the next time it opens.
    PostMessageA(owner_, WM_NULL, 0, 0);
    if (command == 0 || command > items_.size()) return false;
    // A copy: the handler may destroy this menu (closing the form that owns it).
    const std::function<void()> handler = items_[command - 1].OnClick;
    if (handler) handler();
    return true;
}

}  // namespace kestrin
