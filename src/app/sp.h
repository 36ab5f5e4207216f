#pragma once
// The start-up splash: "Kestrin 起動中です。。。" with the program's icon, shown
// by the controller while the resident program starts. Its creation also
// takes the application window off the taskbar for the rest of the run.
#include "platform/form.h"

namespace kestrin {

class Image;
class Label;
class Panel;

class TSS : public Form {
public:
    TSS();

    const char* ClassName() const override { return "TSS"; }

    Panel* Panel1 = nullptr;
    Image* Image1 = nullptr;
    Label* Label1 = nullptr;

protected:
    void CreateParams(CreateParamsRecord& params) override;
    void CreateControls() override;
    void FormCreate() override;
};

}  // namespace kestrin
