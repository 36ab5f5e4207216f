#include "win32/portable/decimal_text.h"

namespace kestrin {

std::string DecimalText(int64_t value) {
    // The magnitude in unsigned arithmetic, so that the most negative value
    // has one too.
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    char digits[20];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    std::string text;
    text.reserve(static_cast<size_t>(count) + 1);
    if (value < 0) text += '-';
    while (count != 0) text += digits[--count];
    return text;
}

}  // namespace kestrin
