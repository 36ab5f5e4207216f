#include "controls/portable/mask_engine.h"

#include <cmath>

#include "controls/portable/decimal_reader.h"
#include "win32/portable/decimal_text.h"

namespace kestrin {
namespace {

constexpr char kBlank = ' ';
constexpr std::string_view kMaskCharacters = ",-./9:Z\\";

// Plain comparisons, not <cctype>: a cp932 byte above 0x7F is a negative char.
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool IsMaskCharacter(char c) { return kMaskCharacters.find(c) != std::string_view::npos; }
constexpr bool IsSeparator(char c) { return c == ',' || c == '/' || c == ':'; }
// "\" and whatever FilterMask would have removed show themselves.
constexpr bool IsLiteral(char c) { return c == '\\' || !IsMaskCharacter(c); }

void FormatIntegerPart(std::string_view mask, std::size_t end, unsigned value, std::string& text) {
    // `value` keeps the digits not yet placed; with no leading zeros, it is 0
    // exactly when none is left.
    for (std::size_t i = end; i-- > 0;) {
        const char m = mask[i];
        if (m == '9' || m == 'Z' || m == '-') {
            if (value != 0) {
                text[i] = static_cast<char>('0' + value % 10);
                value /= 10;
            } else if (m == '9') {
                text[i] = '0';
            }
        } else if (IsSeparator(m)) {
            // Beside zero-filling "9" positions the separator stays visible.
            const bool leftBlanks = i == 0 || mask[i - 1] == 'Z' || mask[i - 1] == '-';
            if (value != 0 || !leftBlanks) text[i] = m;
        } else if (IsLiteral(m)) {
            text[i] = m;
        }
    }
    // Digits left over are dropped: the display keeps the low-order ones.
}

std::size_t SkipDigits(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    return pos;
}

}  // namespace

std::string FilterMask(std::string_view source) {
    if (source.empty()) return "9";
    std::string mask;
    for (char c : source) {
        if (IsMaskCharacter(c)) mask += c;
    }
    return mask;
}

std::string MaskFormat(std::string_view mask, uint8_t value) {
    if (mask.empty()) return DecimalText(value);

    const std::size_t length = mask.size();
    const bool hasSign = mask.back() == '-';
    const std::size_t point = mask.find('.');
    const bool hasPoint = point != std::string_view::npos;
    const std::size_t signlessEnd = hasSign ? length - 1 : length;

    std::string text(length, kBlank);  // the sign position stays blank
    FormatIntegerPart(mask, hasPoint ? point : signlessEnd, value, text);
    if (!hasPoint) return text;

    text[point] = '.';
    for (std::size_t i = point + 1; i < signlessEnd; ++i) text[i] = IsLiteral(mask[i]) ? mask[i] : '0';

    // Trailing zeros: the point goes too when nothing is left after it.
    for (std::size_t i = length; i-- > point;) {
        if (mask[i] == '-' || (mask[i] == 'Z' && text[i] == '0')) {
            text[i] = kBlank;
            continue;
        }
        if (i == point) text[i] = kBlank;
        break;
    }
    return text;
}

double TextToNumber(std::string_view text) {
    std::string kept;
    for (char c : text) {
        if (c == '-' || c == '.' || IsDigit(c)) kept += c;
    }
    if (kept.empty()) return 0;
    if (kept.back() == '-') {  // "5-" reads as "-5"
        kept.pop_back();
        kept.insert(kept.begin(), '-');
    }

    std::string_view rest = kept;
    const bool negative = rest.front() == '-';
    if (negative) rest.remove_prefix(1);
    const std::size_t point = rest.find('.');
    if (rest.find('-') != std::string_view::npos) return 0;
    if (point != std::string_view::npos && rest.find('.', point + 1) != std::string_view::npos) return 0;

    const std::string_view whole = rest.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view{} : rest.substr(point + 1);
    if (whole.empty() && fraction.empty()) return 0;  // "-", "." and "-."

    // Too large gives infinity, too small a number at or near 0, never NaN.
    const double magnitude = ReadDecimal(whole, fraction);
    return negative && magnitude != 0 ? -magnitude : magnitude;  // no "-0"
}

std::optional<int32_t> CastToWhole(double number, TCastMode mode) {
    if (!std::isfinite(number)) return std::nullopt;
    double whole = 0;
    switch (mode) {
        case cmCeil: whole = std::ceil(number); break;
        case cmFloor: whole = std::floor(number); break;
        default: whole = std::trunc(number); break;
    }
    // Checked in double before the conversion, which would be undefined out of range.
    if (whole < -2147483648.0 || whole > 2147483647.0) return std::nullopt;
    return static_cast<int32_t>(whole);
}

bool IsPasteNumber(std::string_view text) {
    const auto isSign = [&](std::size_t pos) { return pos < text.size() && (text[pos] == '+' || text[pos] == '-'); };

    std::size_t pos = text.find_first_not_of(kBlank);
    if (pos == std::string_view::npos) return false;
    if (isSign(pos)) ++pos;
    if (pos == text.size()) return false;

    pos = SkipDigits(text, pos);
    if (pos < text.size() && text[pos] == '.') pos = SkipDigits(text, pos + 1);
    if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
        ++pos;
        if (isSign(pos)) ++pos;
        const std::size_t exponentStart = pos;
        pos = SkipDigits(text, pos);
        if (pos == exponentStart) return false;
    }
    return pos == text.size();
}

}  // namespace kestrin
