// Integers as decimal text: the same text std::to_string gives, at the
// edges of every width the program writes.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "win32/portable/decimal_text.h"

namespace kestrin {
namespace {

TEST(DecimalText, IsWhatToStringGives) {
    const int64_t values[] = {
        0, 1, 9, 10, 99, 100, 255, -1, -9, -10,
        std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min(),
        std::numeric_limits<uint32_t>::max(), std::numeric_limits<int64_t>::max(),
        std::numeric_limits<int64_t>::min(),
    };
    for (const int64_t value : values) EXPECT_EQ(DecimalText(value), std::to_string(value)) << value;
    EXPECT_EQ(DecimalText(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
}

}  // namespace
}  // namespace kestrin
