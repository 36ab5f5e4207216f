#include "app/notice.h"

namespace kestrin {

namespace {

const BannerLayout kNoticeLayout{
    "NoticeForm", 234, 65, true, {24, 16, 34, 34}, {72, 27, 111, 12}, "メモリを圧縮しました。",
};

}  // namespace

TNoticeForm::TNoticeForm() : BannerForm(kNoticeLayout) {}

void TNoticeForm::FormCreate() {
    // The callers wait without handling messages, so the notice must be on
    // the screen, fully painted, before Create returns.
    Show();
    Update();
}

}  // namespace kestrin
