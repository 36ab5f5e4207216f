#include "win32/portable/profile_values.h"

namespace kestrin {

namespace {

std::optional<uint32_t> HexDigit(char c) {
    if (c >= '0' && c <= '9') return static_cast<uint32_t>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<uint32_t>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<uint32_t>(c - 'A' + 10);
    return std::nullopt;
}

std::optional<int32_t> ParseHex(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    uint32_t value = 0;
    for (char c : digits) {
        auto digit = HexDigit(c);
        if (!digit) return std::nullopt;
        if (value > 0x0FFFFFFFu) return std::nullopt;  // a fifth nibble would fall off the top
        value = (value << 4) | *digit;
    }
    return static_cast<int32_t>(value);
}

std::optional<int32_t> ParseDecimal(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    // Accumulate the magnitude in 64 bits so that INT32_MIN needs no case of its own.
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    int64_t magnitude = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit) return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace

std::optional<int32_t> ParseProfileInteger(std::string_view text) {
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) return ParseHex(text.substr(2));
    if (!text.empty() && text[0] == '$') return ParseHex(text.substr(1));
    return ParseDecimal(text);
}


}  // namespace kestrin
