#include "win32/portable/profile_values.h"
#include "win32/portable/decimal_text.h"

#include <gtest/gtest.h>

#include <climits>

namespace kestrin {
namespace {

TEST(ParseProfileInteger, DecimalWithOptionalSign) {
    EXPECT_EQ(ParseProfileInteger("0"), 0);
    EXPECT_EQ(ParseProfileInteger("60"), 60);
    EXPECT_EQ(ParseProfileInteger("007"), 7);
    EXPECT_EQ(ParseProfileInteger("+5"), 5);
    EXPECT_EQ(ParseProfileInteger("-1"), -1);
    EXPECT_EQ(ParseProfileInteger("-0"), 0);
}

TEST(ParseProfileInteger, DecimalRangeIsInt32) {
    EXPECT_EQ(ParseProfileInteger("2147483647"), INT32_MAX);
    EXPECT_EQ(ParseProfileInteger("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseProfileInteger("2147483648"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("-2147483649"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("99999999999999999999"), std::nullopt);
}

TEST(ParseProfileInteger, HexAfterZeroXOrDollar) {
    EXPECT_EQ(ParseProfileInteger("0x3C"), 60);
    EXPECT_EQ(ParseProfileInteger("0X3c"), 60);
    EXPECT_EQ(ParseProfileInteger("$3C"), 60);
    EXPECT_EQ(ParseProfileInteger("$3c"), 60);
    EXPECT_EQ(ParseProfileInteger("0x0"), 0);
    EXPECT_EQ(ParseProfileInteger("$7FFFFFFF"), INT32_MAX);
}

TEST(ParseProfileInteger, EveryHexDigitInBothCases) {
    // A hand-edited "0xff" is as good as "0xFF".
    const std::string digits = "0123456789abcdefABCDEF";
    for (size_t i = 0; i < digits.size(); ++i) {
        const int32_t value = static_cast<int32_t>(i < 16 ? i : i - 6);
        EXPECT_EQ(ParseProfileInteger(std::string("0x1") + digits[i]), 16 + value) << digits[i];
        EXPECT_EQ(ParseProfileInteger(std::string("$") + digits[i] + digits[i]), 17 * value) << digits[i];
    }
}

TEST(ParseProfileInteger, HexIsThe32BitPatternTakenAsSigned) {
    EXPECT_EQ(ParseProfileInteger("0xFFFFFFFF"), -1);
    EXPECT_EQ(ParseProfileInteger("$80000000"), INT32_MIN);
    // Leading zeros do not count against the width; only the value does.
    EXPECT_EQ(ParseProfileInteger("0x00000003C"), 60);
    EXPECT_EQ(ParseProfileInteger("0x100000000"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("$123456789"), std::nullopt);
}

TEST(ParseProfileInteger, AnythingElseIsNotANumber) {
    for (const char* text : {"", "abc", "12abc", "0x", "$", "0xG", "$-1", "-0x10", "+$10", "-", "+", " 1", "1 ",
                             "1.5", "x10", "00x10", "１２"}) {
        EXPECT_EQ(ParseProfileInteger(text), std::nullopt) << '"' << text << '"';
    }
}

// The store writes integers as decimal text.
TEST(ParseProfileInteger, ReadsBackEveryDecimalText) {
    for (int32_t value : {INT32_MIN, -65536, -1, 0, 1, 65, 1440, INT32_MAX}) {
        EXPECT_EQ(ParseProfileInteger(DecimalText(value)), value);
    }
}

}  // namespace
}  // namespace kestrin
