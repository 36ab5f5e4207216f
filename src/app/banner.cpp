#include "app/banner.h"

#include "framework/window_class.h"
#include "framework/label.h"
#include "framework/panel.h"
#include "win32/screen_dpi.h"
#include "win32/ui_font.h"

namespace kestrin {

namespace {
constexpr int kIconSize = 32;  // at 96 dpi
}  // namespace

BannerForm::BannerForm(const BannerLayout& layout)
    : layout_(layout),
      iconSize_(Scaled(kIconSize)),
      // The system's icon size at every DPI (SM_CXICON scales as the layout
      // does), so the system keeps one shared copy for the program's window
      // classes as well: nothing is loaded for a splash or a notice.
      icon_(static_cast<HICON>(
          LoadImageA(ProgramInstance(), "MAINICON", IMAGE_ICON, iconSize_, iconSize_, LR_SHARED))) {
    SetCaption(layout.caption);
    SetBorderStyle(bsNone);
    SetSystemMenu(false);
    SetStayOnTop(layout.stayOnTop);
    SetPosition(poScreenCenter);
    SetClientSize(layout.clientWidth, layout.clientHeight);
}

void BannerForm::CreateParams(CreateParamsRecord& params) {
    Form::CreateParams(params);
    params.style = kBannerStyle;
    params.exStyle = kBannerExStyle;
}

void BannerForm::Paint(HDC dc) {
    // The panel's sunken frame, the icon centred in the frame's inside (at
    // 96 dpi it is exactly the icon's size), then the label; the layout
    // scaled to the screen as a form's description is.
    RECT inside = ToRect(Scaled(layout_.panel));
    DrawBevels(dc, inside, BevelCut::Lowered, BevelCut::None);
    if (icon_)
        DrawIconEx(dc, (inside.left + inside.right - iconSize_) / 2, (inside.top + inside.bottom - iconSize_) / 2,
                   icon_, iconSize_, iconSize_, 0, nullptr, DI_NORMAL);
    DrawLabelText(dc, ToRect(Scaled(layout_.label)), layout_.text, UiFont(), GetSysColor(COLOR_WINDOWTEXT),
                  DT_NOPREFIX | DT_LEFT);
}

}  // namespace kestrin
