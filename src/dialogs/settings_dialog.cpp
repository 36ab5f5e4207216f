#include "dialogs/settings_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "settings/portable/product.h"
#include "settings/portable/settings_rules.h"
#include "controls/aligned_numeric_edit.h"
#include "dialogs/button_glyphs.h"
#include "framework/application.h"
#include "framework/bevel.h"
#include "framework/check_box.h"
#include "framework/flat_button.h"
#include "framework/hot_key_edit.h"
#include "framework/label.h"

namespace kestrin {

namespace {

constexpr char kCountText[] = "回数は１～１０回に設定してください。";
constexpr COLORREF kNoteBlue = RGB(0, 0, 255);
constexpr uint16_t kShiftedPageKeys = 1000;  // Shift+Page Up.. Home become 1033..1036
constexpr uint16_t kFirstFunctionKey = VK_F1;
constexpr uint16_t kLastFunctionKey = VK_F24;
// The count field holds two digits: a stored count it cannot show is shown
// at the nearest value it can.
constexpr int32_t kLargestShownCount = 99;

// The field the navigation stands on (a PropField); every showing starts at
// the hours (FormShow).
uint16_t CurrentField = pfFromFocus;

// RegisterHotKey's modifier bits and the hot-key entry's for the same key.
struct ModifierPair {
    uint32_t registered;
    BYTE entry;
};
constexpr ModifierPair kModifierPairs[] = {
    {MOD_ALT, HOTKEYF_ALT}, {MOD_CONTROL, HOTKEYF_CONTROL}, {MOD_SHIFT, HOTKEYF_SHIFT}};

// Other bits (the Windows key) have no place in the entry and are dropped.
BYTE EntryModifiers(uint32_t shifts) {
    BYTE modifiers = 0;
    for (const ModifierPair& pair : kModifierPairs)
        if (shifts & pair.registered) modifiers |= pair.entry;
    return modifiers;
}

uint32_t RegisterModifiers(BYTE modifiers) {
    uint32_t shifts = 0;
    for (const ModifierPair& pair : kModifierPairs)
        if (modifiers & pair.entry) shifts |= pair.registered;
    return shifts;
}

bool IsNavigationKey(uint16_t code) {
    return (code >= VK_PRIOR && code <= VK_HOME) || code == VK_UP || code == VK_DOWN ||
           (code >= kFirstFunctionKey && code <= kLastFunctionKey) ||
           (code >= kShiftedPageKeys + VK_PRIOR && code <= kShiftedPageKeys + VK_HOME);
}

}  // namespace

TPropForm::TPropForm(PropFormContext context) : context_(std::move(context)) {
    SetCaption("プロパティ");
    SetClientSize(373, 254);
    SetBorderStyle(bsDialog);
    SetStayOnTop(true);
    SetPosition(poScreenCenter);
}

void TPropForm::CreateControls() {
    Label& label1 = Add<Label>(Bounds{8, 16, 357, 12}, "※時間設定を０にするとアイコンクリックまでメモリ圧縮しません。");
    label1.SetColor(kNoteBlue);
    label1.SetFontStyle(FontStyle::Bold);
    Add<Label>(Bounds{54, 44, 101, 12}, "メモリ圧縮設定時間");
    editTime1_ = &Add<TVaBEdit>(Bounds{160, 40, 28, 18});
    Add<Label>(Bounds{192, 44, 24, 12}, "時間");
    editTime2_ = &Add<TVaBEdit>(Bounds{221, 40, 28, 18});
    Add<Label>(Bounds{254, 44, 32, 12}, "分ごと");
    Add<Label>(Bounds{4, 76, 153, 12}, "圧縮設定時間に圧縮する回数");
    counterEdit_ = &Add<TVaBEdit>(Bounds{160, 72, 26, 18});
    cbMsgBox_ = &Add<CheckBox>(Bounds{53, 107, 267, 17}, "手動クリックした時メッセージボックスを表示する");
    cbOnce_ = &Add<CheckBox>(Bounds{53, 139, 284, 17}, "手動クリックした時、圧縮操作を1度しか行わない。");
    cbUseHK_ = &Add<CheckBox>(Bounds{52, 172, 106, 18}, "ホットキーを使う");
    kyHK_ = &Add<HotKeyEdit>(Bounds{160, 172, 121, 18});
    Add<Bevel>(Bounds{8, 205, 357, 3});  // above the buttons
    doBtn_ = &Add<FlatButton>(Bounds{84, 217, 80, 25}, "OK(F9)");
    endBtn_ = &Add<FlatButton>(Bounds{208, 217, 80, 25}, "中止(F12)");

    for (TVaBEdit* edit : {editTime1_, editTime2_, counterEdit_}) {
        edit->SetMask("Z9");
        edit->SetSuji(0);
        edit->SetCastMode(cmTrunc);
        edit->SetRangeStart(0);
        edit->SetRangeEnd(255);
        edit->SetLRKeyDownSelect(false);
        BindNavigation(*edit);
    }
    for (CheckBox* box : {cbMsgBox_, cbOnce_, cbUseHK_}) BindNavigation(*box);
    cbUseHK_->OnClick = [this] { CBUseHKClick(); };
    kyHK_->SetRules(HKCOMB_NONE | HKCOMB_S, HOTKEYF_ALT);
    kyHK_->SetTabStop(false);
    kyHK_->SetHotKey('A', HOTKEYF_ALT);
    doBtn_->SetGlyph(ButtonGlyph(IDI_DO_GLYPH).get(), ButtonGlyph(IDI_DO_GLYPH_OFF).get());
    endBtn_->SetGlyph(ButtonGlyph(IDI_END_GLYPH).get(), ButtonGlyph(IDI_END_GLYPH_OFF).get());
    doBtn_->OnClick = [this] { FormClick(*doBtn_); };
    endBtn_->OnClick = [this] { FormClick(*endBtn_); };
    SetTabOrder({cbMsgBox_, cbOnce_, cbUseHK_, kyHK_, editTime1_, editTime2_, counterEdit_});
}

void TPropForm::BindNavigation(Control& control) {
    control.OnKeyDown = [this](Control&, WORD& key, ShiftState shift) { FormKeyDown(key, shift); };
    control.OnKeyPress = [this](Control&, char& key) { FormKeyPress(key); };
}

void TPropForm::FormCreate() {
    const AppSettingsRecord& settings = context_.settings;
    const uint32_t minutes = settings.IntervalMinutes;
    editTime1_->SetSuji(static_cast<uint8_t>(std::min<uint32_t>(minutes / 60, 255)));
    editTime2_->SetSuji(static_cast<uint8_t>(minutes % 60));
    cbMsgBox_->SetChecked(settings.ShowNotice);
    counterEdit_->SetSuji(static_cast<uint8_t>(std::clamp<int32_t>(settings.PassCount, 0, kLargestShownCount)));
    cbOnce_->SetChecked(settings.ManualOnce);
    cbUseHK_->SetChecked(settings.UseHotKey);
    kyHK_->SetHotKey(settings.HotKeyChar, EntryModifiers(settings.HotKeyShifts));
    kyHK_->SetEnabled(cbUseHK_->Checked());
}

void TPropForm::FormShow() {
    CurrentField = pfHours;
    EventEnter();
}

Control* TPropForm::FieldControl(uint16_t field) const {
    switch (field) {
        case pfHours: return editTime1_;
        case pfMinutes: return editTime2_;
        case pfCount: return counterEdit_;
        case pfMsgBox: return cbMsgBox_;
        case pfOnce: return cbOnce_;
        case pfUseHotKey: return cbUseHK_;
        case pfHotKey: return kyHK_;
        default: return nullptr;
    }
}

uint16_t TPropForm::FieldOf(HWND window) const {
    for (uint16_t field = pfHours; field <= pfHotKey; ++field)
        if (window && FieldControl(field)->Handle() == window) return field;
    return pfFromFocus;
}

void TPropForm::EventEnter() {
    if (CurrentField == pfFromFocus) CurrentField = FieldOf(GetFocus());
    kyHK_->SetEnabled(cbUseHK_->Checked());
    if (CurrentField == pfFromFocus) CurrentField = pfHours;
    if (Control* control = FieldControl(CurrentField)) control->Focus();
}

void TPropForm::Step(uint16_t key) {
    switch (key) {
        case 0:
        case VK_TAB:
            CurrentField = pfFromFocus;
            break;
        case VK_RETURN:
        case VK_DOWN:
            ++CurrentField;
            break;
        case VK_UP:
            --CurrentField;
            break;
        case VK_F9:
            DoBtnClick();
            break;
        case VK_F12:
            SetModalResult(mrCancel);
            break;
        default:
            break;
    }
}

void TPropForm::EventExit(uint16_t key) {
    const bool applyOrCancel = key == VK_F9 || key == VK_F12;
    const bool forward = key == VK_DOWN || key == VK_RETURN;
    switch (CurrentField) {
        case pfHours:
            if (applyOrCancel) {
                Step(key);
                break;
            }
            KeyinDataCk(pfHours);
            if (key == VK_UP)
                CurrentField = cbUseHK_->Checked() ? pfHotKey : pfUseHotKey;  // round to the last field
            else
                Step(key);
            break;
        case pfMinutes:
        case pfMsgBox:
        case pfOnce:
            Step(key);
            break;
        case pfCount:
            // Every way out is checked, applying and cancelling included.
            if (KeyinDataCk(pfCount)) Step(key);
            break;
        case pfUseHotKey:
            if (!applyOrCancel && forward)
                CurrentField = cbUseHK_->Checked() ? pfHotKey : pfHours;
            else
                Step(key);
            break;
        case pfHotKey:
            if (!applyOrCancel && forward)
                CurrentField = pfHours;
            else
                Step(key);
            break;
        default:
            break;
    }
}

bool TPropForm::KeyinDataCk(PropField field) {
    if (field == pfHours) {
        if (editTime1_->Suji() >= 24) {
            editTime1_->SetSuji(0);
            editTime2_->SetSuji(0);
            CurrentField = pfMinutes;
        }
        return true;
    }
    if (field == pfCount) {
        const uint8_t count = counterEdit_->Suji();
        if (count == 0 || count > 10) {
            ShowMessageBox(kCountText, ProductTitle, MB_ICONEXCLAMATION);
            counterEdit_->SetSuji(3);
            CurrentField = pfCount;
            return false;
        }
    }
    return true;
}

void TPropForm::DoBtnClick() {
    AppSettingsRecord& settings = context_.settings;
    // Each field is stored right before its key is written: a refused write
    // ends the step there, and the dialog stays open.
    auto write = [this, &settings](SettingsKeyIndex key) { context_.store.WriteKey(key, settings); };
    settings.IntervalMinutes = uint32_t{editTime1_->Suji()} * 60 + editTime2_->Suji();
    write(kKeyTimer);
    settings.ShowNotice = cbMsgBox_->Checked();
    write(kKeyMsgBox);
    const uint8_t count = counterEdit_->Suji();
    settings.PassCount = count == 0 ? 1 : count;
    write(kKeyCounter);
    settings.ManualOnce = cbOnce_->Checked();
    write(kKeyManOnce);
    settings.UseHotKey = cbUseHK_->Checked();
    write(kKeyUseHK);
    const HotKeyValue hotKey = kyHK_->HotKey();
    settings.HotKeyShifts = RegisterModifiers(hotKey.modifiers);
    settings.HotKeyChar = hotKey.virtualKey;
    write(kKeyHKShifts);
    write(kKeyHKChar);
    if (context_.applyHotKey) context_.applyHotKey();
    SetModalResult(mrOk);
}

void TPropForm::CBUseHKClick() { kyHK_->SetEnabled(cbUseHK_->Checked()); }

void TPropForm::FormClick(Control& sender) {
    const uint16_t key = &sender == endBtn_ ? VK_F12 : VK_F9;
    EventExit(key);
    EventEnter();
}

void TPropForm::FormKeyDown(WORD& key, ShiftState shift) {
    uint16_t code = key;
    if (shift & ssShift) {
        if (code >= VK_PRIOR && code <= VK_HOME) code += kShiftedPageKeys;
        if (code >= VK_F1 && code <= VK_F12) code += VK_F13 - VK_F1;
    }
    if (!IsNavigationKey(code)) return;
    EventExit(code);
    EventEnter();
    key = 0;
}

void TPropForm::FormKeyPress(char& key) {
    if (key != '\r') return;
    EventExit(VK_RETURN);
    EventEnter();
    key = '\0';
}

void TPropForm::FormMouseDown(HWND target, MouseButton, ShiftState, int, int) {
    // Every press on the form or one of its controls comes here once it has
    // been handled (the pressed control has the focus by then); the two
    // buttons have their clicks instead.
    if (target == doBtn_->Handle() || target == endBtn_->Handle()) return;
    EventExit(0);
    EventEnter();
}

bool TPropForm::DialogKey(WORD key, ShiftState shift) {
    Form::DialogKey(key, shift);
    // Handled here in any case, so that an Enter on a check box moves one
    // field, not a second time as a character.
    if (key != 0) {
        EventExit(key);
        EventEnter();
    }
    return true;
}

}  // namespace kestrin
