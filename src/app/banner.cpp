#include "app/banner.h"

#include "platform/application.h"
#include "platform/image.h"
#include "platform/label.h"
#include "platform/panel.h"

namespace kestrin {

BannerForm::BannerForm(const BannerLayout& layout) : layout_(layout) {
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

void BannerForm::CreateControls() {
    Panel1 = &Add<Panel>(layout_.panel, BevelCut::Lowered, BevelCut::None);
    Image1 = &AddTo<Image>(Panel1->Handle());
    Image1->FillParent();
    Image1->SetCenter(true);
    const HINSTANCE instance = App().Instance() ? App().Instance() : GetModuleHandleA(nullptr);
    // Without the icon the frame stays empty; the window is still worth showing.
    Image1->LoadIcon(instance, "MAINICON", 32);
    Label1 = &Add<Label>(layout_.label, layout_.text);
}

}  // namespace kestrin
