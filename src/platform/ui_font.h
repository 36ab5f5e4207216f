#pragma once
// The one typeface of the program's windows: "ＭＳ Ｐゴシック", 12 px high,
// Shift-JIS character set. Each style is created once, on first use, and
// shared by every control until the process ends; callers never delete it.
#include <windows.h>

namespace kestrin {

enum class FontStyle : unsigned {
    Normal = 0,
    Bold = 1,
    Underline = 2,
    BoldUnderline = 3,
};

HFONT UiFont();
HFONT UiFont(FontStyle style);
inline HFONT UiFontBold() { return UiFont(FontStyle::Bold); }
inline HFONT UiFontUnderline() { return UiFont(FontStyle::Underline); }

// The face name as the system knows it (cp932 bytes).
inline constexpr char kUiFontFace[] = "ＭＳ Ｐゴシック";
inline constexpr int kUiFontHeight = -12;

}  // namespace kestrin
