#pragma once
// Bookkeeping of the tray icons of the process and the small rules the icon
// applies to what it hands to the shell.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/portable/error.h"

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
        const uint32_t id = entries_.empty() ? 1 : entries_.back().first + 1;
        entries_.emplace_back(id, icon);
        return static_cast<int32_t>(id);
    }
    // Removes the entry of `id`, if there is one.
    void Unregister(int32_t id) {
        const auto entry = Entry(static_cast<uint32_t>(id));
        if (entry != entries_.end()) entries_.erase(entry);
    }
    // The icon whose identifier is `id` (the shell's wParam), or nullptr.
    Icon* Find(uint32_t id) const {
        const auto entry = Entry(id);
        return entry == entries_.end() ? nullptr : entry->second;
    }
    std::size_t Size() const { return entries_.size(); }
    // The registered icons, in creation order.
    std::vector<Icon*> Objects() const {
        std::vector<Icon*> icons;
        icons.reserve(entries_.size());
        for (const auto& entry : entries_) icons.push_back(entry.second);
        return icons;
    }

private:
    // A looked-up identifier is compared as the shell's unsigned one.
    using Entries = std::vector<std::pair<uint32_t, Icon*>>;
    typename Entries::const_iterator Entry(uint32_t id) const {
        return std::find_if(entries_.begin(), entries_.end(), [id](const auto& e) { return e.first == id; });
    }

    Entries entries_;
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
