#pragma once
// The completion notice: a small borderless topmost window with the
// program's icon and "メモリを圧縮しました。", shown for about a second after a
// pass the user started. Creating it is enough to put it on the screen; the
// caller keeps it up for its wait and then releases it.
#include "app/banner.h"

namespace kestrin {

class TNoticeForm : public BannerForm {
public:
    TNoticeForm();

    const char* ClassName() const override { return "TNoticeForm"; }

protected:
    void FormCreate() override;
};

}  // namespace kestrin
