#include "platform/popup_menu.h"

#include "platform/portable/error.h"

namespace kestrin {

namespace {
constexpr char kMenuError[] = "メニューを作成できません。";
}

PopupMenu::PopupMenu(HWND owner) : owner_(owner), menu_(CreatePopupMenu()) {
    if (!menu_) throw KestrinError(kMenuError);
}

PopupMenu::~PopupMenu() { destroyNotifier_.Notify(); }

int PopupMenu::AddItem(std::string_view name, std::string_view caption, std::function<void()> OnClick) {
    const int index = ItemCount();
    // Command identifiers are index + 1: TrackPopupMenu returns 0 for "nothing chosen".
    const std::string text(caption);
    if (!AppendMenuA(menu_.get(), MF_STRING, static_cast<UINT_PTR>(index + 1), text.c_str()))
        throw KestrinError(kMenuError);
    items_.push_back({std::string(name), std::move(OnClick)});
    return index;
}

int PopupMenu::AddSeparator(std::string_view name) {
    const int index = ItemCount();
    if (!AppendMenuA(menu_.get(), MF_SEPARATOR, 0, nullptr)) throw KestrinError(kMenuError);
    items_.push_back({std::string(name), {}});
    return index;
}

int PopupMenu::IndexOf(std::string_view name) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].name == name) return static_cast<int>(i);
    return -1;
}

void PopupMenu::SetItemEnabled(int index, bool enabled) {
    if (index < 0 || index >= ItemCount()) return;
    EnableMenuItem(menu_.get(), static_cast<UINT>(index), MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
}

void PopupMenu::SetItemEnabled(std::string_view name, bool enabled) { SetItemEnabled(IndexOf(name), enabled); }

bool PopupMenu::ItemEnabled(int index) const {
    if (index < 0 || index >= ItemCount()) return false;
    const UINT state = GetMenuState(menu_.get(), static_cast<UINT>(index), MF_BYPOSITION);
    return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

bool PopupMenu::Popup(int x, int y) {
    const UINT flags =
        alignment_ | TPM_RETURNCMD | (trackButton_ == TrackButton::Left ? TPM_LEFTBUTTON : TPM_RIGHTBUTTON);
    const auto command = static_cast<UINT>(TrackPopupMenu(menu_.get(), flags, x, y, 0, owner_, nullptr));
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
