#include "framework/popup_menu.h"

#include "win32/portable/error.h"

namespace kestrin {

namespace {
constexpr char kMenuError[] = "メニューを作成できません。";
}

PopupMenu::PopupMenu(HWND owner) : owner_(owner) {}

PopupMenu::~PopupMenu() { destroyNotifier_.Notify(); }

int PopupMenu::AddItem(std::string_view caption, std::function<void()> OnClick) {
    items_.push_back({std::string(caption), false, std::move(OnClick)});
    menu_.reset();  // made again with the new item
    return ItemCount() - 1;
}

int PopupMenu::AddSeparator() {
    items_.push_back({{}, true, {}});
    menu_.reset();
    return ItemCount() - 1;
}

HMENU PopupMenu::Handle() const {
    if (menu_) return menu_.get();
    MenuHandle menu(CreatePopupMenu());
    if (!menu) return nullptr;
    for (size_t i = 0; i < items_.size(); ++i) {
        const Item& item = items_[i];
        // Command identifiers are index + 1: TrackPopupMenu returns 0 for "nothing chosen".
        const BOOL added = item.separator ? AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr)
                                          : AppendMenuA(menu.get(), MF_STRING, static_cast<UINT_PTR>(i + 1),
                                                        item.caption.c_str());
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
    const UINT flags = alignment_ | TPM_RETURNCMD | TPM_RIGHTBUTTON;
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
