#include "dialogs/button_glyphs.h"

#include "framework/application.h"
#include "win32/screen_dpi.h"

namespace kestrin {

namespace {
constexpr int kButtonGlyphSize = 16;  // at 96 dpi
}  // namespace

IconHandle ButtonGlyph(int resourceId) {
    const int size = Scaled(kButtonGlyphSize);
    return IconHandle(static_cast<HICON>(
        LoadImageA(App().Instance(), MAKEINTRESOURCEA(resourceId), IMAGE_ICON, size, size, 0)));
}

}  // namespace kestrin
