#pragma once
// What the completion notice and the start-up splash share: a borderless
// popup with a dialog frame that stays above every other window, centred on
// the screen, with the program's icon in a sunken frame beside one line of
// text. Only the sizes, positions and texts differ between the two.
//
// The frame (Panel1), the icon (Image1) and the text (Label1) are drawn by
// the form itself, in one paint, with the drawing of the framework's panel,
// image and label: the window is up for a moment and never takes input, so
// child windows would only cost start-up time and objects.
#include <windows.h>

#include "framework/form.h"

namespace kestrin {

// Exactly these, whatever the form's design properties would give.
inline constexpr DWORD kBannerStyle = WS_POPUP | WS_DLGFRAME;  // 0x80400000
inline constexpr DWORD kBannerExStyle = WS_EX_TOPMOST;         // 0x00000008

// Sizes and places at 96 dpi, scaled to the screen as the form shows them.
struct BannerLayout {
    const char* caption;  // never visible: there is no title bar
    int clientWidth;
    int clientHeight;
    bool stayOnTop;
    Bounds panel;  // Panel1: holds the 32 x 32 icon inside its one-pixel bevel
    Bounds label;  // Label1
    const char* text;
};

class BannerForm : public Form {
protected:
    // Applies the layout's design properties; `layout` must outlive the form.
    explicit BannerForm(const BannerLayout& layout);
    // Replaces the inherited window styles.
    void CreateParams(CreateParamsRecord& params) override;
    void Paint(HDC dc) override;
    // Never interactive: shown without taking the focus from the user's
    // window (a start at logon, a pass from the hot key).
    bool ActivatesWhenShown() const override { return false; }

private:
    const BannerLayout& layout_;
    int iconSize_;  // 32 at 96 dpi
    // Image1's picture, "MAINICON" at its scaled size, shared (never
    // destroyed); null when it could not be had: the frame then stays empty,
    // and the window is still worth showing.
    HICON icon_;
};

}  // namespace kestrin
