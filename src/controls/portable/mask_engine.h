#pragma once
// The text-and-number logic of the numeric edit controls: cleaning a display
// mask, formatting a byte value under it, reading a number back out of
// whatever the edit holds, making that number whole, and the paste check.
// Pure functions of byte strings (cp932); any byte that is not one of the
// characters named here is an ordinary character, so no input can trip them.
//
// Mask characters and what they show in MaskFormat:
//   "9"  digit position; "0" when the value has no digit left for it.
//   "Z"  digit position; a blank when no digit is left. In the decimal part a
//        trailing zero under it is blanked.
//   "," "/" ":"  separators in the integer part; they take no digit. With no
//        digit left they blank when their left neighbour is "Z" or "-" or
//        when they open the mask, and otherwise stay (next to zero-filling
//        "9" positions).
//   "."  the first one splits the mask into integer and decimal part.
//   "-"  last character: the sign position (always a blank). Elsewhere a
//        digit position: like "Z" in the integer part, blanked by the
//        trailing-zero pass in the decimal part.
//   "\"  a literal anywhere: it takes no digit and always shows itself (a
//        separator that never blanks), so it also stops the trailing-zero
//        pass. Characters that FilterMask would remove show themselves too.
// Values are whole, so every other decimal position shows "0" before the
// trailing-zero pass, however long the decimal part is. That pass runs only
// when there is a point: from the right end it blanks "-" positions and "0"s
// under "Z" and stops at anything else; if it stops on the point, the point
// is blanked too.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrin {

enum TCastMode : uint8_t { cmCeil = 0, cmFloor = 1, cmTrunc = 2 };

// The characters of `source` that are mask characters (",-./9:Z\"), in order;
// "" gives "9". A non-empty source without any gives "".
std::string FilterMask(std::string_view source);

// The display text of `value` under `mask`: exactly mask.size() characters,
// leading blanks included (the control strips them). An empty mask gives the
// plain decimal digits of the value ("0" for 0), so the control can still
// show it.
std::string MaskFormat(std::string_view mask, uint8_t value);

// The number a text stands for, 0 when it stands for none. Only "-", "." and
// the digits count; a trailing "-" counts as a leading one; then an optional
// "-" and digits with at most one "." must remain, or the number is 0. Digit
// strings beyond the double range give +-infinity; never NaN.
double TextToNumber(std::string_view text);

// The whole number by the cast mode, or nothing when it does not fit a signed
// 32-bit integer (or the number is not finite). cmCeil and cmFloor refuse an
// overflow just as cmTrunc does, rather than keep a wrapped value. A value
// outside the enumeration acts as cmTrunc, the controls' default.
std::optional<int32_t> CastToWhole(double number, TCastMode mode);

// True when the whole text reads as a real number (the paste check): leading
// blanks, an optional sign, then at least one character made of digits, an
// optional "." with digits, and an optional exponent ("E"/"e", optional sign,
// at least one digit). A lone "." passes; trailing blanks do not.
bool IsPasteNumber(std::string_view text);

}  // namespace kestrin
