#include "app/banner.h"

#include "platform/application.h"
#include "platform/image.h"
#include "platform/label.h"
#include "platform/panel.h"

namespace kestrin {

void DesignBanner(Form& form, const BannerLayout& layout) {
    form.SetCaption(layout.caption);
    form.SetBorderStyle(bsNone);
    form.SetSystemMenu(false);
    form.SetStayOnTop(layout.stayOnTop);
    form.SetPosition(poScreenCenter);
    form.SetClientSize(layout.clientWidth, layout.clientHeight);
}

void ApplyBannerStyle(CreateParamsRecord& params) {
    params.style = kBannerStyle;
    params.exStyle = kBannerExStyle;
}

BannerControls CreateBannerControls(Form& form, const BannerLayout& layout) {
    BannerControls controls;
    controls.panel = &form.Add<Panel>(layout.panel, BevelCut::Lowered, BevelCut::None);
    controls.image = &form.AddTo<Image>(controls.panel->Handle());
    controls.image->FillParent();
    controls.image->SetCenter(true);
    const HINSTANCE instance = App().Instance() ? App().Instance() : GetModuleHandleA(nullptr);
    // Without the icon the frame stays empty; the window is still worth showing.
    controls.image->LoadIcon(instance, "MAINICON", 32);
    controls.label = &form.Add<Label>(layout.label, layout.text);
    return controls;
}

}  // namespace kestrin
