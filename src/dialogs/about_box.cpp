#include "dialogs/about_box.h"

#include "settings/portable/product.h"
#include "framework/application.h"
#include "win32/cursors.h"
#include "win32/screen_dpi.h"

namespace kestrin {

namespace {

constexpr COLORREF kCommentBlue = 0xFF0000;  // 0x00BBGGRR

void LinkTo(THyperLink& link, const char* alias, TLinkType type, const char* address) {
    link.SetAlias(alias);
    link.SetLinkType(type);
    link.SetCaption(address);
    link.SetShowHint(true);
    link.SetCursor(crHandPoint);
}

}  // namespace

TAboutBox::TAboutBox() {
    SetCaption("バージョン情報");
    SetClientSize(284, 200);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
}

// The form description.
void TAboutBox::CreateControls() {
    Panel& panel1 = Add<Panel>(Bounds{7, 8, 270, 145}, BevelCut::Lowered, BevelCut::Raised);
    const HWND panel = panel1.Handle();
    Panel& panel2 = AddTo<Panel>(panel, Bounds{16, 16, 37, 37}, BevelCut::Lowered);
    Image& programIcon = AddTo<Image>(panel2.Handle());
    programIcon.FillParent();
    programIcon.SetStretch(true);
    programIcon.LoadIcon(App().Instance(), "MAINICON", Scaled(32));

    productName_ = &AddTo<Label>(panel, Bounds{65, 27, 36, 12}, "製品名");
    productName_->SetAutoSize(true);
    copyright_ = &AddTo<Label>(panel, Bounds{15, 57, 242, 24});
    copyright_->SetWordWrap(true);
    comments_ = &AddTo<Label>(panel, Bounds{7, 91, 250, 12}, "コメント");
    comments_->SetAlignment(TextAlignment::Center);
    comments_->SetWordWrap(true);

    LinkTo(AddTo<THyperLink>(panel, Bounds{38, 116, 76, 16}), "作者にメール", ltEmail, kSupportMail);
    LinkTo(AddTo<THyperLink>(panel, Bounds{164, 116, 68, 16}), "最新版入手", ltHttp, kWebSite);

    Button& okButton = Add<Button>(Bounds{108, 164, 69, 23}, "OK");
    okButton.SetDefault(true);
    okButton.SetModalResult(mrOk);
    SetTabOrder({&panel1, &okButton});
}

void TAboutBox::FormCreate() {
    productName_->SetText(std::string(ProductTitle) + " Ver." + ProductVersion);
    copyright_->SetText(ProductCopyright);
    comments_->SetColor(kCommentBlue);
    comments_->SetFontStyle(FontStyle::Bold);
    comments_->SetText("本ソフトウェアは無料ソフトウェアです。");
}

}  // namespace kestrin
