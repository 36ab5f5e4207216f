#include "app/banner.h"

#include "framework/window_class.h"
#include "framework/label.h"
#include "framework/panel.h"
#include "win32/ui_font.h"

namespace kestrin {

namespace {
constexpr int kIconSize = 32;
}  // namespace

BannerForm::BannerForm(const BannerLayout& layout)
    : layout_(layout),
      // The system keeps one shared copy for the program's window classes
      // as well: nothing is loaded for a splash or a notice.
      icon_(static_cast<HICON>(
          LoadImageA(ProgramInstance(), "MAINICON", IMAGE_ICON, kIconSize, kIconSize, LR_SHARED))) {
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
    // The panel's sunken frame, the icon filling the frame's inside (it is
    // exactly the icon's size, so centring moves nothing), then the label.
    RECT inside = ToRect(layout_.panel);
    DrawBevels(dc, inside, BevelCut::Lowered, BevelCut::None);
    if (icon_) DrawIconEx(dc, inside.left, inside.top, icon_, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
    DrawLabelText(dc, ToRect(layout_.label), layout_.text, UiFont(), GetSysColor(COLOR_WINDOWTEXT),
                  DT_NOPREFIX | DT_LEFT);
}

}  // namespace kestrin
