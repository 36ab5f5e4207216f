#pragma once
// Byte-level rules of the Shift-JIS code page (cp932) that every text of the
// program is kept in. A double-byte character's trail byte may be 0x5C ('\\')
// or another ASCII value, so texts must be walked character by character from
// their start; a byte never tells on its own whether it starts a character.
#include <cstddef>
#include <string_view>

namespace kestrin {

constexpr bool IsCp932LeadByte(char c) noexcept {
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Length in bytes of the character that starts at `pos`: 2 for a lead byte
// followed by another byte, else 1 (a lead byte at the very end stands alone).
constexpr std::size_t Cp932CharLength(std::string_view text, std::size_t pos) noexcept {
    return IsCp932LeadByte(text[pos]) && pos + 1 < text.size() ? 2 : 1;
}

// The longest prefix of at most `maxBytes` bytes that ends on a character
// boundary, so no half of a double-byte character is left at its end.
constexpr std::size_t Cp932FitBytes(std::string_view text, std::size_t maxBytes) noexcept {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t next = pos + Cp932CharLength(text, pos);
        if (next > maxBytes) break;
        pos = next;
    }
    return pos;
}

}  // namespace kestrin
