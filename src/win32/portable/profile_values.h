#pragma once
// Integer values as they are written to and read from the profile (ini) file.
#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrin {

// The value of a profile entry as a 32-bit integer, or nothing when the text
// is not one. Accepted forms:
//  - decimal with an optional "+" or "-" sign, within the int32 range;
//  - hexadecimal after "0x", "0X" or "$" (no sign), whose value fits in
//    32 bits; the bit pattern is taken as signed, so "$FFFFFFFF" is -1.
// Anything else ("", "abc", "12abc", "0x", "$", " 1") gives nothing; the
// profile API has already trimmed the blanks around a value.
std::optional<int32_t> ParseProfileInteger(std::string_view text);

}  // namespace kestrin
