#pragma once
// The one typeface of the program's windows: "ＭＳ Ｐゴシック", 12 px high
// at 96 dpi (scaled to the screen: 18 at 144), Shift-JIS character set. The plain style is created once, on first use,
// and shared by every window until the process ends. The other styles are
// held by the controls that show them and go with the last of them, so that
// a dialog's bold caption does not stay behind when the dialog has closed.
#include <windows.h>

namespace kestrin {

enum class FontStyle : unsigned {
    Normal = 0,
    Bold = 1,
    Underline = 2,
    BoldUnderline = 3,
};

// The plain style; callers never delete it.
HFONT UiFont();

// One hold on the UI font in a style: the first hold of a style makes the
// font, the end of the last one deletes it. A control keeps the hold as long
// as its window may paint with the font. Holding the plain style holds
// nothing (it is never deleted).
class StyledUiFont {
public:
    StyledUiFont() noexcept = default;
    explicit StyledUiFont(FontStyle style);
    StyledUiFont(StyledUiFont&& other) noexcept;
    StyledUiFont& operator=(StyledUiFont&& other) noexcept;
    StyledUiFont(const StyledUiFont&) = delete;
    StyledUiFont& operator=(const StyledUiFont&) = delete;
    ~StyledUiFont();

    HFONT Get() const;

private:
    void Release() noexcept;

    FontStyle style_ = FontStyle::Normal;
};

// The face name as the system knows it (cp932 bytes).
inline constexpr char kUiFontFace[] = "ＭＳ Ｐゴシック";
// The character height at 96 dpi (negative: without the internal leading).
inline constexpr int kUiFontHeight = -12;

}  // namespace kestrin
