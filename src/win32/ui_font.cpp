#include "win32/ui_font.h"

#include <array>
#include <cstring>
#include <mutex>  // std::lock_guard
#include <utility>

#include "win32/handles.h"
#include "win32/lock.h"
#include "win32/screen_dpi.h"

namespace kestrin {

namespace {

FontHandle MakeFont(FontStyle style) {
    const auto bits = static_cast<unsigned>(style);
    LOGFONTA font{};
    font.lfHeight = Scaled(kUiFontHeight);
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

struct FontTable {
    Lock mutex;
    std::array<FontHandle, 4> fonts;
    std::array<unsigned, 4> holds{};  // of the styles other than the plain one
};

// Constant-initialised: any thread may be the first to ask for a font.
constinit FontTable fontTable;

FontTable& Fonts() { return fontTable; }

unsigned IndexOf(FontStyle style) { return static_cast<unsigned>(style) & 3u; }

// The font of a style, made if it is not there; under the table's lock.
HFONT FontLocked(FontTable& table, FontStyle style) {
    FontHandle& font = table.fonts[IndexOf(style)];
    if (!font) font = MakeFont(style);
    return font.get();
}

}  // namespace

HFONT UiFont() {
    FontTable& table = Fonts();
    std::lock_guard lock(table.mutex);
    return FontLocked(table, FontStyle::Normal);
}

StyledUiFont::StyledUiFont(FontStyle style) : style_(style) {
    if (style_ == FontStyle::Normal) return;
    FontTable& table = Fonts();
    std::lock_guard lock(table.mutex);
    ++table.holds[IndexOf(style_)];
}

StyledUiFont::StyledUiFont(StyledUiFont&& other) noexcept
    : style_(std::exchange(other.style_, FontStyle::Normal)) {}

StyledUiFont& StyledUiFont::operator=(StyledUiFont&& other) noexcept {
    if (this != &other) {
        Release();
        style_ = std::exchange(other.style_, FontStyle::Normal);
    }
    return *this;
}

StyledUiFont::~StyledUiFont() { Release(); }

HFONT StyledUiFont::Get() const {
    FontTable& table = Fonts();
    std::lock_guard lock(table.mutex);
    return FontLocked(table, style_);
}

void StyledUiFont::Release() noexcept {
    if (style_ == FontStyle::Normal) return;
    FontTable& table = Fonts();
    std::lock_guard lock(table.mutex);
    const unsigned index = IndexOf(style_);
    if (--table.holds[index] == 0) table.fonts[index].reset();
    style_ = FontStyle::Normal;
}

}  // namespace kestrin
