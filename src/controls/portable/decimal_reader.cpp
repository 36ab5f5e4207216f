#include "controls/portable/decimal_reader.h"

#include <cstdint>
#include <cstring>
#include <limits>

namespace kestrin {
namespace {

// The number as decimal digits, 0.d[0]d[1]...d[count-1] times 10^point,
// scaled by powers of two until its leading 53 bits can be read off whole.
// Every step is exact; digits beyond kMaxDigits are dropped, and `truncated`
// keeps the one thing they can still decide: that the number lies above an
// exact half-way point. (A double's exact decimal form needs at most 767
// significant digits.)
class Decimal {
public:
    static constexpr int kMaxDigits = 800;

    void AddWholeDigit(char c) {
        if (count_ == 0 && c == '0') return;  // a leading zero
        Add(c);
        ++point_;
    }
    void AddFractionDigit(char c) {
        if (count_ == 0 && c == '0') {
            --point_;  // a zero right after the point, before any other digit
            return;
        }
        Add(c);
    }

    // Drops trailing zeros; every shift starts from a trimmed number and
    // leaves one.
    void Trim() noexcept {
        while (count_ > 0 && digits_[count_ - 1] == 0) --count_;
        if (count_ == 0) point_ = 0;
    }

    bool IsZero() const noexcept { return count_ == 0; }
    int Point() const noexcept { return point_; }
    int LeadingDigit() const noexcept { return count_ > 0 ? digits_[0] : 0; }

    // Multiplies by 2^shift (divides for a negative shift).
    void Shift(int shift) {
        while (shift > kMaxShift) {
            LeftShift(kMaxShift);
            shift -= kMaxShift;
        }
        while (shift < -kMaxShift) {
            RightShift(kMaxShift);
            shift += kMaxShift;
        }
        if (shift > 0) LeftShift(static_cast<unsigned>(shift));
        if (shift < 0) RightShift(static_cast<unsigned>(-shift));
    }

    // The whole part (point_ <= 19 here), rounded by the digits after it,
    // ties to even.
    uint64_t RoundedWhole() const {
        uint64_t whole = 0;
        int i = 0;
        for (; i < point_ && i < count_; ++i) whole = whole * 10 + digits_[i];
        for (; i < point_; ++i) whole *= 10;
        return RoundsUp() ? whole + 1 : whole;
    }

private:
    // Keeps digit * 2^shift plus a carry inside 64 bits.
    static constexpr int kMaxShift = 60;
    // 2^60 has 19 digits: room for the new leading digits of a left shift.
    static constexpr int kRoom = 20;

    void Add(char c) {
        if (count_ < kMaxDigits)
            digits_[count_++] = static_cast<uint8_t>(c - '0');
        else if (c != '0')
            truncated_ = true;
    }

    bool RoundsUp() const noexcept {
        if (point_ < 0 || point_ >= count_) return false;  // nothing after the whole part
        if (digits_[point_] == 5 && point_ + 1 == count_) {
            // Exactly half-way, unless dropped digits make it a little more.
            if (truncated_) return true;
            return point_ > 0 && digits_[point_ - 1] % 2 == 1;
        }
        return digits_[point_] >= 5;
    }

    void LeftShift(unsigned shift) {
        // From the lowest digit up, into a buffer with room in front for the
        // carry's digits.
        uint8_t product[kMaxDigits + kRoom];
        int write = count_ + kRoom;
        const int end = write;
        uint64_t carry = 0;
        for (int read = count_ - 1; read >= 0; --read) {
            const uint64_t value = (uint64_t{digits_[read]} << shift) + carry;
            product[--write] = static_cast<uint8_t>(value % 10);
            carry = value / 10;
        }
        while (carry != 0) {
            product[--write] = static_cast<uint8_t>(carry % 10);
            carry /= 10;
        }
        const int length = end - write;
        point_ += length - count_;
        count_ = 0;
        for (int i = 0; i < length; ++i) Add(static_cast<char>('0' + product[write + i]));
        Trim();
    }

    void RightShift(unsigned shift) {
        const uint64_t mask = (uint64_t{1} << shift) - 1;
        int read = 0;
        int write = 0;
        uint64_t value = 0;
        // Enough leading digits for the first quotient digit.
        for (; value >> shift == 0; ++read) {
            if (read >= count_) {
                if (value == 0) {
                    count_ = 0;
                    point_ = 0;
                    return;
                }
                while (value >> shift == 0) {
                    value *= 10;
                    ++read;
                }
                break;
            }
            value = value * 10 + digits_[read];
        }
        point_ -= read - 1;
        // One digit in, one digit out.
        for (; read < count_; ++read) {
            const uint64_t digit = value >> shift;
            value &= mask;
            digits_[write++] = static_cast<uint8_t>(digit);
            value = value * 10 + digits_[read];
        }
        // The remainder's digits.
        while (value != 0) {
            const uint64_t digit = value >> shift;
            value &= mask;
            if (write < kMaxDigits)
                digits_[write++] = static_cast<uint8_t>(digit);
            else if (digit != 0)
                truncated_ = true;
            value *= 10;
        }
        count_ = write;
        Trim();
    }

    uint8_t digits_[kMaxDigits];
    int count_ = 0;
    int point_ = 0;
    bool truncated_ = false;
};

// Bits to shift by for a decimal point at 0..8 (2^shift stays below 10^point),
// and for anything further.
constexpr int kPointShifts[] = {1, 3, 6, 9, 13, 16, 19, 23, 26};
constexpr int kFarShift = 27;

int ShiftFor(int point) { return point < 9 ? kPointShifts[point] : kFarShift; }

constexpr int kMantissaBits = 52;
constexpr int kExponentBias = -1023;
constexpr int kExponentLimit = 2047;  // all ones: infinity

double FromBits(uint64_t mantissa, int exponent) {
    const uint64_t bits = (mantissa & ((uint64_t{1} << kMantissaBits) - 1)) |
                          (static_cast<uint64_t>(exponent - kExponentBias) << kMantissaBits);
    double number;
    std::memcpy(&number, &bits, sizeof number);
    return number;
}

}  // namespace

double ReadDecimal(std::string_view whole, std::string_view fraction) {
    Decimal decimal;
    for (char c : whole) decimal.AddWholeDigit(c);
    for (char c : fraction) decimal.AddFractionDigit(c);
    decimal.Trim();

    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    if (decimal.IsZero() || decimal.Point() < -330) return 0;
    if (decimal.Point() > 310) return kInfinity;

    // Into [1/2, 1) by powers of two, counted in `exponent`.
    int exponent = 0;
    while (decimal.Point() > 0) {
        const int shift = ShiftFor(decimal.Point());
        decimal.Shift(-shift);
        exponent += shift;
    }
    while (decimal.Point() < 0 || (decimal.Point() == 0 && decimal.LeadingDigit() < 5)) {
        const int shift = ShiftFor(-decimal.Point());
        decimal.Shift(shift);
        exponent -= shift;
    }
    --exponent;  // a double's mantissa is in [1, 2)

    // Below the smallest normal exponent the number is subnormal: fewer bits.
    if (exponent < kExponentBias + 1) {
        const int shift = kExponentBias + 1 - exponent;
        decimal.Shift(-shift);
        exponent += shift;
    }
    if (exponent - kExponentBias >= kExponentLimit) return kInfinity;

    decimal.Shift(1 + kMantissaBits);
    uint64_t mantissa = decimal.RoundedWhole();
    if (mantissa == uint64_t{2} << kMantissaBits) {  // rounding carried into a new bit
        mantissa >>= 1;
        ++exponent;
        if (exponent - kExponentBias >= kExponentLimit) return kInfinity;
    }
    if ((mantissa & (uint64_t{1} << kMantissaBits)) == 0) exponent = kExponentBias;  // subnormal
    return FromBits(mantissa, exponent);
}

}  // namespace kestrin
