#pragma once
// The start-up splash: "Kestrin 起動中です。。。" with the program's icon, shown
// by the controller while the resident program starts. Its creation also
// takes the application window off the taskbar for the rest of the run.
#include "app/banner.h"

namespace kestrin {

class TSS : public BannerForm {
public:
    TSS();

    const char* ClassName() const override { return "TSS"; }

protected:
    void FormCreate() override;
};

}  // namespace kestrin
