#pragma once
// TPropForm ("プロパティ"): the modal settings dialog. It edits the seven
// settings (the interval as hours and minutes, the passes per trigger, the
// notice and one-pass switches, the hot key) and on OK stores them, writes
// them key by key through the settings file and registers the hot key anew.
// Cancel changes nothing.
//
// Besides Tab, the dialog moves through its seven fields in a fixed order of
// its own (CurrentField): Enter and Down forward, Up back, with checks on
// leaving the hours and the count fields; F9 is OK and F12 cancel (except in
// the hot-key entry, where they become the hot key).
#include <cstdint>
#include <functional>

#include "settings/portable/shared_state.h"
#include "settings/settings_store.h"
#include "framework/form.h"

namespace kestrin {

class CheckBox;
class FlatButton;
class HotKeyEdit;
class TVaBEdit;

// What the dialog works on.
struct PropFormContext {
    AppSettingsRecord& settings;
    SettingsStore& store;
    // Drops the registered hot key and registers it anew from the settings.
    std::function<void()> applyHotKey;
};

// The dialog's own navigation numbers its seven input fields.
enum PropField : uint16_t {
    pfFromFocus = 0,  // the field is to be taken from the focused control
    pfHours = 1,
    pfMinutes,
    pfCount,
    pfMsgBox,
    pfOnce,
    pfUseHotKey,
    pfHotKey,
};

class TPropForm : public Form {
public:
    explicit TPropForm(PropFormContext context);

    const char* ClassName() const override { return "TPropForm"; }

    // Brings CurrentField into effect: the focus goes to its control.
    void EventEnter();
    // Leaves the current field with `key` (0 for a mouse press).
    void EventExit(uint16_t key);
    // The check of a field (the hours and the count have one); true when
    // the dialog may move on.
    bool KeyinDataCk(PropField field);
    // Stores and writes the values, registers the hot key, closes with OK.
    void DoBtnClick();
    void CBUseHKClick();
    void FormClick(Control& sender);

    // Key handlers, bound to the form and its input controls (the mouse
    // handler gets every press on the form and its controls).
    void FormKeyDown(WORD& key, ShiftState shift) override;
    void FormKeyPress(char& key) override;

protected:
    void CreateControls() override;
    void FormCreate() override;
    void FormShow() override;
    void FormMouseDown(HWND target, MouseButton button, ShiftState shift, int x, int y) override;
    bool DialogKey(WORD key, ShiftState shift) override;

private:
    void Step(uint16_t key);
    void BindNavigation(Control& control);
    Control* FieldControl(uint16_t field) const;
    uint16_t FieldOf(HWND window) const;

    PropFormContext context_;
    TVaBEdit* editTime1_ = nullptr;
    TVaBEdit* editTime2_ = nullptr;
    TVaBEdit* counterEdit_ = nullptr;
    CheckBox* cbMsgBox_ = nullptr;
    CheckBox* cbOnce_ = nullptr;
    CheckBox* cbUseHK_ = nullptr;
    HotKeyEdit* kyHK_ = nullptr;
    FlatButton* doBtn_ = nullptr;
    FlatButton* endBtn_ = nullptr;
};

}  // namespace kestrin
