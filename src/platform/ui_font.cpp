#include "platform/ui_font.h"

#include <array>
#include <cstring>
#include <mutex>  // std::lock_guard

#include "platform/handles.h"
#include "platform/lock.h"

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

// Each style made on its first use (a resident program that only ever shows
// its splash needs one), then kept until process exit.
struct FontTable {
    Lock mutex;
    std::array<FontHandle, 4> fonts;
};

FontTable& Fonts() {
    static FontTable table;
    return table;
}

}  // namespace

HFONT UiFont() { return UiFont(FontStyle::Normal); }

HFONT UiFont(FontStyle style) {
    FontTable& table = Fonts();
    std::lock_guard lock(table.mutex);
    FontHandle& font = table.fonts[static_cast<unsigned>(style) & 3u];
    if (!font) font = MakeFont(style);
    return font.get();
}

}  // namespace kestrin
