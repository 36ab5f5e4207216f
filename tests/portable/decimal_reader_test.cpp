// Reading decimal digits into the nearest double: the hard cases of decimal
// reading (ties, the edges of the normal, subnormal and finite ranges, more
// digits than are kept) against the compiler's own reading of the same
// numbers, and random numbers against the C library's strtod.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "controls/portable/decimal_reader.h"

namespace kestrin {
namespace {

uint64_t Bits(double number) {
    uint64_t bits;
    std::memcpy(&bits, &number, sizeof bits);
    return bits;
}

std::string Zeros(size_t count) { return std::string(count, '0'); }

// DBL_MAX written out whole, and the point half-way to 2^1024 (which a
// reader must round up, to infinity: DBL_MAX's last bit is odd).
const std::string kMaxWhole =
    "17976931348623157081452742373170435679807056752584499659891747680315726078002853876058955863276687817154045895"
    "35143824642343213268894641827684675467035375169860499105765512820762454900903893289440758685084551339423045832"
    "36903222948165808559332123348274797826204144723168738177180919299881250404026184124858368";
const std::string kHalfPastMax =
    "17976931348623158079372897140530341507993413271003782693617377898044496829276475094664901797758720709633028641"
    "66928879109465555478519404026306574886715058206819089020007083836762738548458177115317644757302700698555713669"
    "59622842914819860834936475292719074168444365510704342711559699508093042880177904174497792";
// 2^-1075, half the smallest subnormal: a tie that rounds to 0.
const std::string kHalfMinSubnormal =
    "24703282292062327208828439643411068618252990130716238221279284125033775363510437593264991818081799618989828234"
    "77228588654633283551779698981993873980053909390631503565951557022639229085839244910518443593180284993653615250"
    "03193704576782492193656236698636584807570015857692699037063119282795585513329278343384093519780155312465972635"
    "79574622766465272827220056374006485499977096599470454020828166226237857393450736339007967761930577506740176324"
    "67360096895134053553745851666113422376667860416215968046191446729184030053005753084904876539171138659164623952"
    "49126236538818796362393732804238910186723484976682350898633885879256283027559956575244555072551893136908362547"
    "79186948667994968324049705821028513185451396213837722826145437693412532098591327667236328125";

TEST(DecimalReader, HardCasesReadAsTheCompilerReadsThem) {
    struct Case {
        const char* name;
        std::string whole;
        std::string fraction;
        double number;
    };
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    const std::vector<Case> cases = {
        {"nothing", "", "", 0.0},
        {"zeros", "000", "000", 0.0},
        {"one", "1", "", 1.0},
        {"a fraction alone", "", "5", 0.5},
        {"a point at the end", "5", "", 5.0},
        {"leading zeros", "00012", "50", 12.5},
        {"one tenth", "", "1", 0.1},
        {"three tenths", "0", "3", 0.3},
        {"10^23, rounded down by naive readers", "1" + Zeros(23), "", 1e23},
        {"2^53 + 1: a tie, to even below", "9007199254740993", "", 9007199254740992.0},
        {"2^53 + 3: a tie, to even above", "9007199254740995", "", 9007199254740996.0},
        {"2^53 + 1 and a little: above the tie", "9007199254740993", Zeros(30) + "1", 9007199254740994.0},
        {"a tie decided by a digit beyond those kept", "9007199254740993", Zeros(900) + "1", 9007199254740994.0},
        {"the same tie with that digit 0", "9007199254740993", Zeros(900), 9007199254740992.0},
        {"DBL_MAX exactly", kMaxWhole, "", DBL_MAX},
        {"just below the tie past DBL_MAX", kHalfPastMax.substr(0, kHalfPastMax.size() - 1) + "0", "", DBL_MAX},
        {"the tie past DBL_MAX", kHalfPastMax, "", kInfinity},
        {"400 digits", "1" + Zeros(399), "", kInfinity},
        {"the smallest normal number", "", Zeros(307) + "22250738585072014", DBL_MIN},
        {"just below it: the largest subnormal", "", Zeros(307) + "22250738585072011", 0x0.fffffffffffffp-1022},
        {"the smallest subnormal", "", Zeros(323) + "49406564584124654", 0x1p-1074},
        {"half of it, exactly: a tie, to 0", "", Zeros(323) + kHalfMinSubnormal, 0.0},
        {"a little more than half of it", "", Zeros(323) + kHalfMinSubnormal + "1", 0x1p-1074},
        {"far below everything", "", Zeros(400) + "1", 0.0},
        {"many digits of one third", "", std::string(2000, '3'), 1.0 / 3.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Bits(ReadDecimal(c.whole, c.fraction)), Bits(c.number));
    }
}

TEST(DecimalReader, AgreesWithStrtodOnRandomNumbers) {
    std::mt19937_64 random(1);
    const auto digits = [&](size_t count) {
        std::string text;
        for (size_t i = 0; i < count; ++i) text += static_cast<char>('0' + random() % 10);
        return text;
    };
    for (int round = 0; round < 20000; ++round) {
        // Short and long whole parts, fractions, and fractions far below 1.
        std::string whole = digits(random() % (round % 4 == 0 ? 330 : 20));
        std::string fraction = (round % 3 == 0 ? Zeros(random() % 330) : "") + digits(random() % 40);
        const std::string text = (whole.empty() ? "0" : whole) + "." + fraction;
        const double expected = std::strtod(text.c_str(), nullptr);
        ASSERT_EQ(Bits(ReadDecimal(whole, fraction)), Bits(expected)) << text;
    }
}

}  // namespace
}  // namespace kestrin
