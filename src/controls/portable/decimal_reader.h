#pragma once
// Reads an unsigned decimal number of any length, given as its digits before
// and after the point, into the nearest double (ties to even), as strtod does
// in the "C" locale: too large gives +infinity, too small 0 or a subnormal
// number; never NaN.
//
// The numeric edits need nothing more than this, and the C library's reader,
// which also knows signs, exponents, hexadecimal, "inf" and "nan", is some
// 20 KB of the program.
#include <string_view>

namespace kestrin {

// `whole` and `fraction` hold digits only ("12" and "5" for 12.5); either may
// be empty.
double ReadDecimal(std::string_view whole, std::string_view fraction);

}  // namespace kestrin
