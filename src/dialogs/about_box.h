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

    Label& ProductName() { return *productName_; }
    Label& Copyright() { return *copyright_; }
    Label& Comments() { return *comments_; }
    THyperLink& HyperLink1() { return *hyperLink1_; }
    THyperLink& HyperLink2() { return *hyperLink2_; }
    Button& OKButton() { return *okButton_; }
    Panel& Panel1() { return *panel1_; }

protected:
    void CreateControls() override;
    void FormCreate() override;

private:
    Panel* panel1_ = nullptr;
    Panel* panel2_ = nullptr;
    Image* programIcon_ = nullptr;
    Label* productName_ = nullptr;
    Label* copyright_ = nullptr;
    Label* comments_ = nullptr;
    THyperLink* hyperLink1_ = nullptr;
    THyperLink* hyperLink2_ = nullptr;
    Button* okButton_ = nullptr;
};

}  // namespace kestrin
