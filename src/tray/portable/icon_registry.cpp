#include "tray/portable/icon_registry.h"

#include <algorithm>

#include "platform/portable/cp932.h"
#include "platform/portable/error.h"

namespace kestrin {
namespace {

using IconEntry = std::pair<uint32_t, void*>;

}  // namespace

int32_t TrayIconRegistry::Register(void* object) {
    if (entries_.size() >= kMaxTrayIcons) throw KestrinError("タスクトレイにアイコンを登録できません。");
    const int32_t id = entries_.empty() ? 1 : static_cast<int32_t>(entries_.back().first) + 1;
    entries_.emplace_back(static_cast<uint32_t>(id), object);
    return id;
}

void TrayIconRegistry::Unregister(int32_t id) {
    const auto entry = std::find_if(entries_.begin(), entries_.end(),
                                    [key = static_cast<uint32_t>(id)](const IconEntry& e) { return e.first == key; });
    if (entry != entries_.end()) entries_.erase(entry);
}

void* TrayIconRegistry::Find(uint32_t id) const {
    const auto entry = std::find_if(entries_.begin(), entries_.end(), [id](const IconEntry& e) { return e.first == id; });
    return entry == entries_.end() ? nullptr : entry->second;
}

std::vector<void*> TrayIconRegistry::Objects() const {
    std::vector<void*> objects;
    objects.reserve(entries_.size());
    for (const auto& entry : entries_) objects.push_back(entry.second);
    return objects;
}

std::string CutTip(std::string_view tip) { return std::string(tip.substr(0, Cp932FitBytes(tip, kMaxTipBytes))); }

uint32_t NotifyFlagsFor(std::string_view tip) {
    return kNotifyFlagMessage | kNotifyFlagIcon | (tip.empty() ? 0 : kNotifyFlagTip);
}

int32_t NextFrameIndex(int32_t index, int32_t count) { return index < count - 1 ? index + 1 : 0; }

int32_t ClampFrameIndex(int32_t index, int32_t count) { return index > count - 1 ? 0 : index; }

}  // namespace kestrin
