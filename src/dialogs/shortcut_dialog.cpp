#include "dialogs/shortcut_dialog.h"

#include <shlobj.h>

#include <utility>

#include "settings/portable/product.h"
#include "win32/com_scope.h"
#include "dialogs/button_glyphs.h"
#include "dialogs/shortcut_file.h"
#include "framework/application.h"
#include "win32/diagnostics.h"
#include "win32/files.h"
#include "win32/handles.h"
#include "win32/shell_folder.h"

namespace kestrin {

namespace {
constexpr char kDoneText[] = "ショートカットを作成/削除しました.";
}

TOmakeForm::TOmakeForm() {
    SetCaption("ショートカット作成／削除");
    SetClientSize(301, 173);
    SetBorderStyle(bsDialog);
    SetSystemMenu(false);
    SetPosition(poScreenCenter);
    SetHelpContext(kHelpContext);
}

// The form description.
void TOmakeForm::CreateControls() {
    cb1_ = &Add<CheckBox>(Bounds{49, 13, 153, 17}, "ｽﾀｰﾄｱｯﾌﾟにｼｮｰﾄｶｯﾄ作成");
    cb3_ = &Add<CheckBox>(Bounds{49, 41, 203, 17}, "ｽﾀｰﾄｱｯﾌﾟにｼｮｰﾄｶｯﾄ(非常駐)作成");
    cb2_ = &Add<CheckBox>(Bounds{49, 69, 153, 17}, "ﾃﾞｽｸﾄｯﾌﾟにｼｮｰﾄｶｯﾄ作成");
    cb4_ = &Add<CheckBox>(Bounds{49, 97, 199, 17}, "ﾃﾞｽｸﾄｯﾌﾟにｼｮｰﾄｶｯﾄ(非常駐)作成");
    Add<Panel>(Bounds{3, 128, 295, 2}, BevelCut::Lowered);  // the rule above the buttons
    okButton_ = &Add<Button>(Bounds{113, 140, 75, 25}, "OK");
    okButton_->SetDefault(true);
    okButton_->SetGlyph(ButtonGlyph(IDI_DO_GLYPH).get());

    cb1_->OnClick = [this] { CB1Click(); };
    cb2_->OnClick = [this] { CB2Click(); };
    cb3_->OnClick = [this] { CB3Click(); };
    cb4_->OnClick = [this] { CB4Click(); };
    okButton_->OnClick = [this] { OKButtonClick(); };
    SetTabOrder({cb1_, cb3_, cb2_, cb4_, okButton_});
}

void TOmakeForm::FormCreate() {
    shortcutFlags_ = 0;
    // In the order of the boxes on the dialog; ticking a box runs its click
    // handler, which sets its bit.
    const std::pair<CheckBox*, const ShortcutEntry&> boxes[] = {
        {cb1_, kShortcuts[0]}, {cb3_, kShortcuts[2]}, {cb2_, kShortcuts[1]}, {cb4_, kShortcuts[3]}};
    for (const auto& [box, shortcut] : boxes) {
        const auto path = PathOf(shortcut);
        box->SetChecked(path && FileExists(*path));
    }
}

void TOmakeForm::BoxClicked(const CheckBox& box, uint32_t bit) {
    shortcutFlags_ = ShortcutFlagsAfterClick(shortcutFlags_, bit, box.Checked());
}

void TOmakeForm::CB1Click() { BoxClicked(*cb1_, 0x0001); }
void TOmakeForm::CB2Click() { BoxClicked(*cb2_, 0x0010); }
void TOmakeForm::CB3Click() { BoxClicked(*cb3_, 0x0100); }
void TOmakeForm::CB4Click() { BoxClicked(*cb4_, 0x1000); }

std::string TOmakeForm::GetStartUpFolderDir() { return ShellFolderPath(App().Handle(), CSIDL_STARTUP); }

std::string TOmakeForm::GetDesktopFolderDir() { return ShellFolderPath(App().Handle(), CSIDL_DESKTOPDIRECTORY); }

std::optional<std::string> TOmakeForm::PathOf(const ShortcutEntry& shortcut) {
    const std::string folder =
        shortcut.Folder == ShortcutFolder::Startup ? GetStartUpFolderDir() : GetDesktopFolderDir();
    auto path = ShortcutPath(folder, shortcut.FileName);
    if (!path) Trace(std::string("shortcut passed over: ") + (folder.empty() ? "no folder" : "path too long"));
    return path;
}

void TOmakeForm::MakeSC() {
    const std::string target = ProgramFilePath();
    for (const ShortcutEntry& shortcut : kShortcuts) {
        const auto path = PathOf(shortcut);
        if (!path) continue;
        const bool exists = FileExists(*path);
        if (shortcutFlags_ & shortcut.Bit) {
            // An existing file is left as it is, whatever it points at.
            if (exists) continue;
            const bool written = MakeShortCut(target, shortcut.Arguments, *path, kShortcutDescription, "");
            Trace((written ? "shortcut written: " : "shortcut not written: ") + *path);
        } else if (exists) {
            const bool deleted = DeleteFileA(path->c_str()) != FALSE;
            Trace((deleted ? "shortcut deleted: " : "shortcut not deleted: ") + *path);
        }
    }
}

void TOmakeForm::OKButtonClick() {
    {
        // COM for the shell-link object, from before the files are touched
        // until after the confirmation.
        ComScope com;
        MakeSC();
        Hide();
        Trace("shortcuts applied");
        ShowMessageBox(kDoneText, ProductTitle, MB_ICONINFORMATION);
    }
    SetModalResult(mrCancel);  // as a close: the caller looks at no result
}

}  // namespace kestrin
