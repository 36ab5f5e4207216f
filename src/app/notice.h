#pragma once
// The completion notice: a small borderless topmost window with the
// program's icon and "メモリを圧縮しました。", shown for about a second after a
// pass the user started. Creating it is enough to put it on the screen; the
// caller keeps it up for its wait and then releases it.
#include "platform/form.h"

namespace kestrin {

class Image;
class Label;
class Panel;

class TNoticeForm : public Form {
public:
    TNoticeForm();

    const char* ClassName() const override { return "TNoticeForm"; }

    Panel* Panel1 = nullptr;
    Image* Image1 = nullptr;
    Label* Label1 = nullptr;

protected:
    void CreateParams(CreateParamsRecord& params) override;
    void CreateControls() override;
    void FormCreate() override;
};

}  // namespace kestrin
