#pragma once
// Bookkeeping of the tray icons of the process and the small rules the icon
// applies to what it hands to the shell.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "win32/portable/error.h"

namespace kestrin {

inline constexpr std::size_t kMaxTrayIcons = 100;
inline constexpr std::size_t kMaxTipBytes = 62;
inline constexpr uint32_t kNotifyFlagMessage = 1;  // NIF_MESSAGE
inline constexpr uint32_t kNotifyFlagIcon = 2;     // NIF_ICON
inline constexpr uint32_t kNotifyFlagTip = 4;      // NIF_TIP

// The live tray icons, as (identifier, icon) pairs in creation order. A new
// icon gets the identifier one above the last entry's, so identifiers are
// unique among live icons while those of destroyed icons can come back.
// Used on the GUI thread only.
template <typename Icon>
class IconRegistry {
public:
    // Appends `icon` and returns its identifier: 1 for the first, else the
    // last entry's plus 1. Throws KestrinError("タスクトレイにアイコンを登録できません。")
    // when kMaxTrayIcons entries exist already; nothing is added then.
    int32_t Register(Icon* icon) {
        if (entries_.size() >= kMaxTrayIcons) throw KestrinError("タスクトレイにアイコンを登録できません。");
        entries_.emplace_back(entries_.empty() ? 1 : entries_.back().first + 1, icon);
        return static_cast<int32_t>(entries_.back().first);
    }
    // Removes the entry of `id`, if there is one.
    void Unregister(int32_t id) {
        std::erase_if(entries_, [key = static_cast<uint32_t>(id)](const auto& e) { return e.first == key; });
    }
    // The icon whose identifier is `id` (the shell's wParam), or nullptr.
    Icon* Find(uint32_t id) const {
        for (const auto& [key, icon] : entries_)
            if (key == id) return icon;
        return nullptr;
    }

private:
    // A looked-up identifier is compared as the shell's unsigned one.
    std::vector<std::pair<uint32_t, Icon*>> entries_;
};

// The tip as the icon stores it: its first kMaxTipBytes bytes. When that cut
// would split a double-byte cp932 character, its lead byte goes too, so the
// shell never gets half a character (the tip is then 61 bytes).
std::string CutTip(std::string_view tip);

// NIF_MESSAGE | NIF_ICON, plus NIF_TIP when there is a tip to show.
uint32_t NotifyFlagsFor(std::string_view tip);

// The animation's next frame after `index`: the following image, or the
// first after the last one.
int32_t NextFrameIndex(int32_t index, int32_t count);
// The frame to show next when the list may have shrunk since `index` was
// taken: an index past the last image starts again at the first.
int32_t ClampFrameIndex(int32_t index, int32_t count);

}  // namespace kestrin
