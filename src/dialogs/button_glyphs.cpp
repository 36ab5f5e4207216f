#include "dialogs/button_glyphs.h"

#include "framework/application.h"

namespace kestrin {

IconHandle ButtonGlyph(int resourceId) {
    return IconHandle(static_cast<HICON>(
        LoadImageA(App().Instance(), MAKEINTRESOURCEA(resourceId), IMAGE_ICON, 16, 16, 0)));
}

}  // namespace kestrin
