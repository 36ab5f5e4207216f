#include "platform/ui_font.h"

#include <array>
#include <cstring>

#include "platform/handles.h"

namespace kestrin {

namespace {

FontHandle MakeFont(FontStyle style) {
    const auto bits = static_cast<unsigned>(style);
    LOGFONTA font{};
    font.lfHeight = kUiFontHeight;
    font.lfWeight = (bits & static_cast<unsigned>(FontStyle::Bold)) ? FW_BOLD : FW_NORMAL;
    font.lfUnderline = (bits & static_cast<unsigned>(FontStyle::Underline)) ? TRUE : FALSE;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    static_assert(sizeof kUiFontFace <= LF_FACESIZE);
    std::memcpy(font.lfFaceName, kUiFontFace, sizeof kUiFontFace);
    return FontHandle(CreateFontIndirectA(&font));
}

// All four styles at once: a function-local static is built exactly once even
// if two threads ask at the same time, and is freed at process exit.
const std::array<FontHandle, 4>& Fonts() {
    static const std::array<FontHandle, 4> fonts{MakeFont(FontStyle::Normal), MakeFont(FontStyle::Bold),
                                                 MakeFont(FontStyle::Underline),
                                                 MakeFont(FontStyle::BoldUnderline)};
    return fonts;
}

}  // namespace

HFONT UiFont() { return UiFont(FontStyle::Normal); }

HFONT UiFont(FontStyle style) { return Fonts()[static_cast<unsigned>(style) & 3u].get(); }

}  // namespace kestrin
