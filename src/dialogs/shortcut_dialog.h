#pragma once
// TOmakeForm: the dialog "ショートカット作成／削除" that creates and deletes
// the program's four shortcut files, resident and one-shot ("/n"), in the
// user's Startup folder and on the desktop. Its boxes open ticked for the
// files that exist; OK makes the folders match the boxes, confirms, and
// closes.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "dialogs/portable/shortcut_rules.h"
#include "framework/button.h"
#include "framework/check_box.h"
#include "framework/form.h"
#include "framework/panel.h"

namespace kestrin {

class TOmakeForm : public Form {
public:
    // The help context of the dialog (F1).
    static constexpr uint32_t kHelpContext = 18;

    TOmakeForm();
    const char* ClassName() const override { return "TOmakeForm"; }

    void CB1Click();
    void CB2Click();
    void CB3Click();
    void CB4Click();
    // Reconciles the files, hides the dialog, confirms, closes.
    void OKButtonClick();
    // Writes each wanted shortcut that is missing and deletes each unwanted
    // one that exists; a folder that cannot be had, or a path too long for
    // its buffers, is passed over. COM must be initialised.
    void MakeSC();

    // The folders, looked up afresh on every call; "" when the shell cannot tell.
    virtual std::string GetStartUpFolderDir();
    virtual std::string GetDesktopFolderDir();

protected:
    void CreateControls() override;
    void FormCreate() override;

private:
    void BoxClicked(const CheckBox& box, uint32_t bit);
    // The shortcut's path, or nothing when it is to be passed over.
    std::optional<std::string> PathOf(const ShortcutEntry& shortcut);

    // ShortcutFlags: one bit per ticked box (0x0001 CB1, 0x0010 CB2, 0x0100
    // CB3, 0x1000 CB4); MakeSC reads only this.
    uint32_t shortcutFlags_ = 0;
    CheckBox* cb1_ = nullptr;
    CheckBox* cb2_ = nullptr;
    CheckBox* cb3_ = nullptr;
    CheckBox* cb4_ = nullptr;
    Button* okButton_ = nullptr;
};

}  // namespace kestrin
