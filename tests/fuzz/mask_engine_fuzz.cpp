// The numeric edits' mask engine over arbitrary bytes: a mask source, a
// typed or pasted text, a value, a cast mode and a raw double.
//
// Checked: FilterMask keeps only mask characters; MaskFormat gives one
// character per mask position, and under a cleaned mask its text reads back
// as the value's low-order digits; TextToNumber is never NaN nor -0 and
// agrees with strtod on what it reads, and so does ReadDecimal, bit for bit,
// on every digit string the input spells; CastToWhole gives a whole number next
// to the input by its mode, and nothing only for non-finite input or a whole
// part outside int32; IsPasteNumber agrees with strtod on plain number texts.
#include <fuzzer/FuzzedDataProvider.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "controls/portable/decimal_reader.h"
#include "controls/portable/mask_engine.h"

namespace kestrin {
namespace {

constexpr std::string_view kMaskCharacters = ",-./9:Z\\";

void Check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

bool Only(std::string_view text, std::string_view allowed) {
    return text.find_first_not_of(allowed) == std::string_view::npos;
}

void CheckMask(std::string_view source, uint8_t value) {
    const std::string mask = FilterMask(source);
    Check(Only(mask, kMaskCharacters), "FilterMask keeps mask characters only");
    Check(source.empty() ? mask == "9" : mask.size() <= source.size(), "FilterMask length");
    if (!mask.empty()) Check(FilterMask(mask) == mask, "FilterMask keeps a clean mask");

    if (!source.empty()) Check(MaskFormat(source, value).size() == source.size(), "one character per raw mask position");
    const std::string text = MaskFormat(mask, value);
    if (mask.empty()) {
        Check(text == std::to_string(value), "an empty mask shows the plain digits");
        return;
    }
    Check(text.size() == mask.size(), "one character per mask position");
    Check(Only(text, "0123456789 ,/:.\\"), "formatted text holds digits, blanks and the mask's own characters");

    // Digit positions of the integer part: before the first ".", without the
    // sign position (a last "-"). The text reads back as that many low digits.
    std::size_t end = std::min(mask.find('.'), mask.size());
    if (end == mask.size() && mask.back() == '-') --end;
    unsigned modulus = 1;
    for (std::size_t i = 0; i < end && modulus <= 255; ++i) {
        if (mask[i] == '9' || mask[i] == 'Z' || mask[i] == '-') modulus *= 10;
    }
    Check(TextToNumber(text) == value % modulus, "formatted text reads back as the value's low digits");
}

// Below the normal range the two readers may round differently; both are 0
// for the controls' purposes.
bool SameNumber(double a, double b) {
    if (std::fabs(a) < DBL_MIN && std::fabs(b) < DBL_MIN) return true;
    return a == b;
}

void CheckText(std::string_view text) {
    const double number = TextToNumber(text);
    Check(!std::isnan(number), "TextToNumber is never NaN");
    Check(!(number == 0 && std::signbit(number)), "TextToNumber gives no -0");

    // What the number is read from: "-", "." and digits, a trailing "-" in
    // front. A plain decimal there is read as strtod reads it; anything else
    // is 0.
    std::string kept;
    for (char c : text) {
        if (c == '-' || c == '.' || (c >= '0' && c <= '9')) kept += c;
    }
    if (!kept.empty() && kept.back() == '-') {
        kept.pop_back();
        kept.insert(kept.begin(), '-');
    }
    const std::size_t body = kept.starts_with('-') ? 1 : 0;
    const bool plain = kept.find('-', body) == std::string::npos && kept.find('.') == kept.rfind('.') &&
                       kept.find_first_of("0123456789") != std::string::npos;
    Check(SameNumber(number, plain ? std::strtod(kept.c_str(), nullptr) : 0.0), "TextToNumber agrees with strtod");

    // The paste check against strtod, on texts that strtod reads the same way
    // (no tabs or line breaks, no "inf", "nan" or hexadecimal).
    if (Only(text, " 0123456789.+-eE")) {
        const std::string copy(text);
        char* stop = nullptr;
        std::strtod(copy.c_str(), &stop);
        const bool strtodReadsAll = stop == copy.c_str() + copy.size() && copy.find_first_not_of(' ') != std::string::npos;
        const std::string_view mantissa = text.substr(0, text.find_first_of("eE"));
        const bool hasDigit = mantissa.find_first_of("0123456789") != std::string_view::npos;
        if (strtodReadsAll) Check(IsPasteNumber(text), "a number strtod reads whole passes the paste check");
        if (hasDigit && IsPasteNumber(text)) Check(strtodReadsAll, "a passing text with digits is one strtod reads whole");
    }
}

// Every byte a digit (its value modulo 10), the first "." the point: long
// numbers of every shape, more often than plain texts would give them.
void CheckDecimal(std::string_view bytes) {
    std::string whole;
    std::string fraction;
    bool point = false;
    for (char c : bytes) {
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        (point ? fraction : whole) += static_cast<char>('0' + static_cast<uint8_t>(c) % 10);
    }
    const std::string text = (whole.empty() ? "0" : whole) + "." + fraction;
    Check(ReadDecimal(whole, fraction) == std::strtod(text.c_str(), nullptr), "ReadDecimal reads what strtod reads");
}

void CheckCast(double number, uint8_t rawMode) {
    const auto mode = static_cast<TCastMode>(rawMode);
    const std::optional<int32_t> whole = CastToWhole(number, mode);
    if (!whole) {
        Check(!(number > -2147483648.0 && number < 2147483647.0), "a number well inside int32 is cast");
        return;
    }
    Check(std::isfinite(number), "non-finite numbers are not cast");
    const double r = *whole;
    switch (mode) {
        case cmCeil: Check(r >= number && r - 1 < number, "cmCeil: smallest whole number not below"); break;
        case cmFloor: Check(r <= number && r + 1 > number, "cmFloor: largest whole number not above"); break;
        default:  // cmTrunc, and what any other byte acts as
            Check(std::fabs(r) <= std::fabs(number) && std::fabs(number) - std::fabs(r) < 1 &&
                      (r == 0 || std::signbit(r) == std::signbit(number)),
                  "cmTrunc: the whole part");
    }
}

}  // namespace
}  // namespace kestrin

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kestrin;
    FuzzedDataProvider input(data, size);
    const auto value = input.ConsumeIntegral<uint8_t>();
    const auto mode = input.ConsumeIntegral<uint8_t>();
    double raw = 0;
    const std::string rawBytes = input.ConsumeBytesAsString(sizeof raw);
    std::memcpy(&raw, rawBytes.data(), rawBytes.size());
    const std::string mask = input.ConsumeRandomLengthString(64);
    const std::string text = input.ConsumeRemainingBytesAsString();

    CheckMask(mask, value);
    CheckText(text);
    CheckDecimal(text);
    CheckCast(raw, mode);
    CheckCast(TextToNumber(text), mode);
    return 0;
}
