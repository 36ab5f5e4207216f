#include "app/notice.h"

#include "app/banner.h"

namespace kestrin {

namespace {

const BannerLayout kNoticeLayout{
    "NoticeForm", 234, 65, true, {24, 16, 34, 34}, {72, 27, 111, 12}, "メモリを圧縮しました。",
};

}  // namespace

TNoticeForm::TNoticeForm() { DesignBanner(*this, kNoticeLayout); }

void TNoticeForm::CreateParams(CreateParamsRecord& params) {
    Form::CreateParams(params);
    ApplyBannerStyle(params);
}

void TNoticeForm::CreateControls() {
    const BannerControls controls = CreateBannerControls(*this, kNoticeLayout);
    Panel1 = controls.panel;
    Image1 = controls.image;
    Label1 = controls.label;
}

void TNoticeForm::FormCreate() {
    // The callers wait without handling messages, so the notice must be on
    // the screen, fully painted, before Create returns.
    Show();
    Update();
}

}  // namespace kestrin
