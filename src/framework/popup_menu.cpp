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

UINT PopupMenu::TrackCommand(int x, int y, UINT alignment, TPMPARAMS* params) {
    // The owner's messages are handled while the menu is open, so a second
    // request can come then (the tray icon clicked again): the open menu
    // stays as it is, its items included.
    if (tracking_) return 0;
    const HMENU menu = Handle();
    if (!menu) throw KestrinError(kMenuError, GetLastError());
    tracking_ = true;
    // The owner is the foreground window (the caller's part of the idiom),
    // so the menu closes when the user clicks elsewhere.
    const auto command = static_cast<UINT>(
        TrackPopupMenuEx(menu, alignment | TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, owner_, params));
    tracking_ = false;
    menu_.reset();
    // The owner must see a message after the menu: otherwise a menu opened
    // from the notification area closes at once the next time it opens.
    PostMessageA(owner_, WM_NULL, 0, 0);
    return command <= items_.size() ? command : 0;
}

bool PopupMenu::Popup(int x, int y) {
    const UINT command = TrackCommand(x, y, alignment_, nullptr);
    if (command == 0) return false;
    // A copy: the handler may destroy this menu (closing the form that owns it).
    const std::function<void()> handler = items_[command - 1].OnClick;
    if (handler) handler();
    return true;
}

std::function<void()> PopupMenu::Track(const PopupPosition& position) {
    TPMPARAMS params{sizeof params, position.Exclude};
    const UINT command = TrackCommand(position.At.x, position.At.y, position.Alignment, &params);
    return command == 0 ? std::function<void()>() : items_[command - 1].OnClick;
}

}  // namespace kestrin
