#pragma once
// What the completion notice and the start-up splash share: a borderless
// popup with a dialog frame that stays above every other window, centred on
// the screen, with the program's icon in a sunken frame beside one line of
// text. Only the sizes, positions and texts differ between the two.
#include <windows.h>

#include "platform/control.h"
#include "platform/form.h"

namespace kestrin {

class Image;
class Label;
class Panel;

// Exactly these, whatever the form's design properties would give.
inline constexpr DWORD kBannerStyle = WS_POPUP | WS_DLGFRAME;  // 0x80400000
inline constexpr DWORD kBannerExStyle = WS_EX_TOPMOST;         // 0x00000008

struct BannerLayout {
    const char* caption;  // never visible: there is no title bar
    int clientWidth;
    int clientHeight;
    bool stayOnTop;
    Bounds panel;  // holds the 32 x 32 icon inside its one-pixel bevel
    Bounds label;
    const char* text;
};

class BannerForm : public Form {
public:
    Panel* Panel1 = nullptr;
    Image* Image1 = nullptr;
    Label* Label1 = nullptr;

protected:
    // Applies the layout's design properties; `layout` must outlive the form.
    explicit BannerForm(const BannerLayout& layout);
    // Replaces the inherited window styles.
    void CreateParams(CreateParamsRecord& params) override;
    // The panel with the icon "MAINICON", and the label.
    void CreateControls() override;
    // Never interactive: shown without taking the focus from the user's
    // window (a start at logon, a pass from the hot key).
    bool ActivatesWhenShown() const override { return false; }

private:
    const BannerLayout& layout_;
};

}  // namespace kestrin
