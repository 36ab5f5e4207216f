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
#include <string_view>

#include "app/portable/shared_state.h"
#include "app/settings_store.h"
#include "platform/form.h"

namespace kestrin {

class Bevel;
class CheckBox;
class FlatButton;
class HotKeyEdit;
class Label;
class TVaBEdit;

// What the dialog works on.
struct PropFormContext {
    AppSettingsRecord& settings;
    SettingsStore& store;
    // Drops the registered hot key and registers it anew from the settings.
    std::function<void()> applyHotKey;
};

// The field the dialog's own navigation stands on (1..7; 0: take it from
// the focus). Kept between openings; every showing starts at 1.
inline uint16_t CurrentField = 0;

class TPropForm : public Form {
public:
    explicit TPropForm(PropFormContext context);

    const char* ClassName() const override { return "TPropForm"; }

    // Brings CurrentField into effect: the focus goes to its control.
    void EventEnter();
    // Leaves the current field with `key` (0 for a mouse press).
    void EventExit(uint16_t key);
    // The check of the field named (case aside); true when the dialog may move on.
    bool KeyinDataCk(std::string_view name);
    // Stores and writes the values, registers the hot key, closes with OK.
    void DoBtnClick();
    void CBUseHKClick();
    void FormClick(Control& sender);

    // The form description.
    Label* Label1 = nullptr;
    Label* Label2 = nullptr;
    TVaBEdit* EditTime1 = nullptr;
    Label* Label4 = nullptr;
    TVaBEdit* EditTime2 = nullptr;
    Label* Label3 = nullptr;
    Label* Label5 = nullptr;
    TVaBEdit* CounterEdit = nullptr;
    CheckBox* CBMsgBox = nullptr;
    CheckBox* CBOnce = nullptr;
    CheckBox* CBUseHK = nullptr;
    HotKeyEdit* ky_HK = nullptr;
    Bevel* Bevel1 = nullptr;
    FlatButton* DoBtn = nullptr;
    FlatButton* EndBtn = nullptr;

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
};

}  // namespace kestrin
