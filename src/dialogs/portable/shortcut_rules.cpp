#include "dialogs/portable/shortcut_rules.h"

namespace kestrin {

uint32_t ShortcutFlagsAfterClick(uint32_t flags, uint32_t bit, bool checked) noexcept {
    if (checked) return flags | bit;
    // The digit of a bit 0x1 << 4n is 0xF << 4n.
    return flags & ~(bit * 0xF);
}

bool FitsShortcutBuffer(std::string_view text) noexcept { return text.size() <= kMaxShortcutText; }

std::optional<std::string> ShortcutPath(std::string_view folder, std::string_view fileName) {
    if (folder.empty()) return std::nullopt;
    std::string path(folder);
    path += fileName;
    if (!FitsShortcutBuffer(path)) return std::nullopt;
    return path;
}

}  // namespace kestrin
