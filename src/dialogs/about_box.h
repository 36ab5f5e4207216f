#pragma once
// TAboutBox: the version dialog "バージョン情報": the program icon, the
// product name and version, the copyright, the remark that the program is
// free, a mail link and a web link to the maker, and OK.
#include <string>

#include "controls/hyperlink_label.h"
#include "framework/button.h"
#include "framework/form.h"
#include "framework/image.h"
#include "framework/label.h"
#include "framework/panel.h"

namespace kestrin {

class TAboutBox : public Form {
public:
    // The maker's addresses the two links show and open.
    static constexpr char kSupportMail[] = "support@kestrin.example";
    static constexpr char kWebSite[] = "www.kestrin.example/";

    TAboutBox();
    const char* ClassName() const override { return "TAboutBox"; }

protected:
    void CreateControls() override;
    void FormCreate() override;

private:
    // The labels whose texts the creation handler fills.
    Label* productName_ = nullptr;
    Label* copyright_ = nullptr;
    Label* comments_ = nullptr;
};

}  // namespace kestrin
