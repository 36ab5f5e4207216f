// The ini file's values the way the program loads them: each value text goes
// through ParseProfileInteger (a missing key, an empty text or anything that
// is no integer gives the key's default) and LoadSetting. The input holds one
// value per line, in file order ("Timer" first); lines beyond the seventh are
// ignored, missing ones stand for missing keys.
//
// Checked: the parser agrees with std::from_chars on what is an integer and
// on its value; every loaded field lies within its range; what is written
// back for a loaded record parses to the same value and loads unchanged.
#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "settings/portable/settings_rules.h"
#include "win32/portable/decimal_text.h"
#include "win32/portable/profile_values.h"

namespace kestrin {
namespace {

void Check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

template <typename T>
std::optional<T> WholeText(std::string_view digits, int base) {
    T value{};
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

// An independent reading of the accepted forms: decimal with an optional
// sign in the int32 range, or hexadecimal after "0x"/"0X"/"$" whose value
// fits in 32 bits, taken as a signed bit pattern.
std::optional<int32_t> Reference(std::string_view text) {
    if (text.starts_with("0x") || text.starts_with("0X") || text.starts_with("$")) {
        const auto value = WholeText<uint32_t>(text.substr(text[0] == '$' ? 1 : 2), 16);
        return value ? std::optional<int32_t>(static_cast<int32_t>(*value)) : std::nullopt;
    }
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-')) return std::nullopt;
    }
    return WholeText<int32_t>(text, 10);
}

int64_t FieldValue(SettingsKeyIndex key, const AppSettingsRecord& settings) {
    return kSettingsFields[key].Read(settings);
}

void CheckRanges(const AppSettingsRecord& s) {
    Check(s.IntervalMinutes <= kMaxIntervalMinutes, "Timer within 0..1440");
    Check(s.HotKeyShifts <= static_cast<uint32_t>(INT32_MAX), "HKShifts not negative as written");
    Check(s.HotKeyChar <= 255, "HKChar within a byte");
}

}  // namespace
}  // namespace kestrin

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kestrin;
    std::string_view input(reinterpret_cast<const char*>(data), size);

    AppSettingsRecord loaded;
    for (std::size_t i = 0; i < kSettingsKeyCount; ++i) {
        const auto key = static_cast<SettingsKeyIndex>(i);
        const std::size_t lineEnd = std::min(input.find('\n'), input.size());
        const std::string_view text = input.substr(0, lineEnd);
        input.remove_prefix(std::min(lineEnd + 1, input.size()));

        const std::optional<int32_t> parsed = ParseProfileInteger(text);
        Check(parsed == Reference(text), "parser agrees with from_chars");
        if (parsed) Check(ParseProfileInteger(DecimalText(*parsed)) == parsed, "formatted integer parses back");
        LoadSetting(key, parsed.value_or(kSettingsFields[key].Default), loaded);
    }
    CheckRanges(loaded);

    // Written back and read again, the record stays as it is.
    AppSettingsRecord reloaded;
    for (std::size_t i = 0; i < kSettingsKeyCount; ++i) {
        const auto key = static_cast<SettingsKeyIndex>(i);
        const std::string written = SettingText(key, loaded);
        const std::optional<int32_t> parsed = ParseProfileInteger(written);
        Check(parsed.has_value() && *parsed == FieldValue(key, loaded), "written text parses to the field's value");
        Check(DecimalText(*parsed) == written, "written text is plain decimal");
        LoadSetting(key, *parsed, reloaded);
        Check(FieldValue(key, reloaded) == FieldValue(key, loaded), "a written value loads unchanged");
    }
    CheckRanges(reloaded);
    return 0;
}
