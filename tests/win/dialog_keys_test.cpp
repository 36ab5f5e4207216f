// What the dialogs rely on in the framework: Tab, Enter and Esc in a
// multi-line edit inside a form (also once the edit is in the dialog mode
// that a WM_GETDLGCODE with a message switches on), the tab order set by
// the form, re-creation of a control, per-control events with their sender,
// dialog keys ahead of the form's key preview, and the loading state.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/button.h"
#include "framework/check_box.h"
#include "framework/edit.h"
#include "framework/form.h"
#include "win32/ui_font.h"
#include "support/app_fixture.h"
#include "support/wait.h"
#include "support/modal_timeout.h"
#include "support/probe_form.h"

namespace kestrin::test {
namespace {

// A multi-line edit, as the numeric edits are.
class MultiLineEdit : public Edit {
public:
    MultiLineEdit(HWND parent, const Bounds& bounds, DWORD extraStyle = 0)
        : Edit(parent, {.text = "12", .bounds = bounds}, ES_MULTILINE | extraStyle) {}
};

void EnterDialogMode(HWND edit) {
    MSG message{edit, WM_KEYDOWN, VK_RETURN, 1, 0, {}};
    SendMessageA(edit, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&message));
}

// A modal form: the multi-line edit, a plain edit after it, OK (default)
// and Cancel.
struct KeyDialog {
    ProbeForm form{"TKestrinKeyDialog"};
    MultiLineEdit* multi = nullptr;
    Edit* next = nullptr;
    int okClicks = 0;
    ModalTimeout timeout{form};

    explicit KeyDialog(DWORD extraStyle) {
        form.SetClientSize(300, 140);
        form.SetBorderStyle(bsDialog);
        form.Create();
        multi = &form.Add<MultiLineEdit>(Bounds{10, 10, 100, 40}, extraStyle);
        next = &form.Add<Edit>(Bounds{10, 60, 100, 20});
        auto& ok = form.Add<Button>(Bounds{10, 100, 80, 25}, "OK");
        ok.SetModalResult(mrOk);
        ok.SetDefault(true);
        ok.OnClick = [this] { ++okClicks; };
        auto& cancel = form.Add<Button>(Bounds{100, 100, 80, 25}, "キャンセル");
        cancel.SetModalResult(mrCancel);
    }
};

struct KeyCase {
    const char* name;
    DWORD extraStyle;
    bool dialogMode;
    WORD key;
    int result;          // the modal result once the key has been handled
    int okClicks;
    bool focusOnNext;    // the focus went on to the next edit
    const char* text;    // the multi-line edit's text afterwards
};

TEST(DialogKeys, TabEnterAndEscInAMultiLineEditBehaveAsInADialog) {
    EnsureApplication();
    const KeyCase cases[] = {
        {"Tab", 0, false, VK_TAB, IDRETRY, 0, true, "12"},
        {"Tab, dialog mode", 0, true, VK_TAB, IDRETRY, 0, true, "12"},
        {"Enter", 0, false, VK_RETURN, mrOk, 1, false, "12"},
        {"Enter, dialog mode", 0, true, VK_RETURN, mrOk, 1, false, "12"},
        {"Esc keeps the dialog open", 0, false, VK_ESCAPE, IDRETRY, 0, false, "12"},
        {"Esc, dialog mode: no WM_CLOSE", 0, true, VK_ESCAPE, IDRETRY, 0, false, "12"},
        {"Enter in an edit that wants it", ES_WANTRETURN, false, VK_RETURN, IDRETRY, 0, false, "12\r\n"},
    };
    for (const KeyCase& c : cases) {
        KeyDialog dialog(c.extraStyle);
        bool focusOnNext = false;
        dialog.form.OnMessage = [&](UINT message, WPARAM wParam, LPARAM, LRESULT&) {
            if (message == kProbeMessage) {
                SetForegroundWindow(dialog.form.Handle());
                dialog.multi->Focus();
                dialog.multi->Select(2, 2);
                if (c.dialogMode) EnterDialogMode(dialog.multi->Handle());
                PostMessageA(dialog.multi->Handle(), WM_KEYDOWN, c.key, 1);
                // Posted behind the key; once more behind what handling the
                // key posts (its character, the dialog-mode WM_CLOSE).
                PostMessageA(dialog.form.Handle(), kProbeMessage2, 0, 0);
                return true;
            }
            if (message == kProbeMessage2 && wParam == 0) {
                PostMessageA(dialog.form.Handle(), kProbeMessage2, 1, 0);
                return true;
            }
            if (message == kProbeMessage2) {
                focusOnNext = GetFocus() == dialog.next->Handle();
                // Still open without a result: end it with one of our own.
                if (dialog.form.ModalResult() == mrNone) dialog.form.SetModalResult(IDRETRY);
                return true;
            }
            return false;
        };
        PostMessageA(dialog.form.Handle(), kProbeMessage, 0, 0);
        EXPECT_EQ(dialog.form.ShowModal(), c.result) << c.name;
        EXPECT_EQ(dialog.okClicks, c.okClicks) << c.name;
        EXPECT_EQ(focusOnNext, c.focusOnNext) << c.name;
        EXPECT_EQ(dialog.multi->Text(), c.text) << c.name;
        EXPECT_FALSE(dialog.timeout.Fired()) << c.name;
    }
}

using FrameworkPieces = AppTest;

TEST_F(FrameworkPieces, TabFollowsTheOrderTheFormSetsNotTheCreationOrder) {
    ProbeForm form;
    form.Create();
    auto& a = form.Add<Edit>(Bounds{10, 10, 100, 20});
    auto& b = form.Add<Edit>(Bounds{10, 40, 100, 20});
    auto& c = form.Add<Edit>(Bounds{10, 70, 100, 20});
    form.SetTabOrder({&c, &a, &b});
    form.Show();
    SetForegroundWindow(form.Handle());
    c.Focus();
    for (Edit* expected : {&a, &b, &c}) {
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
        ASSERT_TRUE(WaitFor([&] { return GetFocus() == expected->Handle(); }));
    }
}

TEST_F(FrameworkPieces, ReCreationKeepsTextFontBoundsIdTabPlaceAndFocus) {
    const StyledUiFont bold(FontStyle::Bold);
    ProbeForm form;
    form.Create();
    auto& before = form.Add<Edit>(Bounds{10, 10, 60, 20});
    auto& edit = form.Add<MultiLineEdit>(Bounds{10, 40, 60, 20});
    auto& after = form.Add<Edit>(Bounds{10, 70, 60, 20});
    edit.SetFont(bold.Get());
    edit.SetMaxLength(3);
    edit.SetText("42");
    form.Show();
    SetForegroundWindow(form.Handle());
    edit.Focus();
    const HWND old = edit.Handle();
    const int id = edit.Id();

    edit.Recreate();

    EXPECT_NE(edit.Handle(), old);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_TRUE(GetWindowLongA(edit.Handle(), GWL_STYLE) & ES_MULTILINE);
    EXPECT_EQ(edit.Text(), "42");
    EXPECT_EQ(edit.Font(), bold.Get());
    EXPECT_EQ(edit.GetBounds(), (Bounds{10, 40, 60, 20}));
    EXPECT_EQ(edit.Id(), id);
    EXPECT_EQ(GetFocus(), edit.Handle());
    EXPECT_EQ(Control::FromHandle(edit.Handle()), &edit);
    EXPECT_EQ(GetWindow(before.Handle(), GW_HWNDNEXT), edit.Handle());
    EXPECT_EQ(GetWindow(edit.Handle(), GW_HWNDNEXT), after.Handle());
    // What lives in the window only comes back too: the length limit.
    edit.Select(0, -1);
    SendMessageA(edit.Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("12345"));
    EXPECT_EQ(edit.Text(), "123");
    // And the events still reach the object through the new window.
    Control* sender = nullptr;
    edit.OnKeyPress = [&](Control& from, char&) { sender = &from; };
    PostMessageA(edit.Handle(), WM_CHAR, '7', 1);
    ASSERT_TRUE(WaitFor([&] { return sender == &edit; }));
}

TEST_F(FrameworkPieces, KeyCharacterAndMouseEventsCarryTheSenderAndMayConsume) {
    ProbeForm form;
    form.Create();
    auto& edit = form.Add<Edit>(Bounds{10, 10, 100, 20});
    form.Show();
    SetForegroundWindow(form.Handle());
    std::vector<std::string> seen;
    edit.OnKeyDown = [&](Control& sender, WORD& key, ShiftState) {
        seen.push_back(&sender == &edit ? "down" : "down from another");
        if (key == VK_F9) key = 0;
    };
    edit.OnKeyPress = [&](Control& sender, char& key) {
        seen.push_back(&sender == &edit ? std::string("press ") + key : "press from another");
        if (key == 'x') key = '\0';
    };
    edit.OnMouseDown = [&](Control& sender, MouseButton button, ShiftState, int x, int y) {
        seen.push_back(&sender == &edit && button == mbLeft && x == 5 && y == 6 && GetFocus() == edit.Handle() ? "mouse" : "wrong mouse");
    };
    PostMessageA(edit.Handle(), WM_CHAR, 'x', 1);
    PostMessageA(edit.Handle(), WM_CHAR, 'y', 1);
    PostMessageA(edit.Handle(), WM_KEYDOWN, VK_F9, 1);
    PostMessageA(edit.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    PostMessageA(edit.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
    ASSERT_TRUE(WaitFor([&] { return seen.size() >= 4; }));
    EXPECT_EQ(seen, (std::vector<std::string>{"press x", "press y", "down", "mouse"}));
    EXPECT_EQ(edit.Text(), "y") << "a consumed character never reaches the edit";
}

TEST_F(FrameworkPieces, ComponentsOfAFormDescriptionLoadTogether) {
    struct Probe : Component {
        std::vector<std::string>* log;
        explicit Probe(std::vector<std::string>* l) : log(l) {}
        void OnLoaded() override { log->push_back("loaded"); }
    };
    std::vector<std::string> log;
    std::unique_ptr<Probe> inside;
    Probe outside(&log);
    ProbeForm form;
    form.onCreateControls = [&](ProbeForm&) {
        inside = std::make_unique<Probe>(&log);
        log.push_back(inside->Loading() ? "loading" : "not loading");
        // One made and gone within the description is not loaded later.
        Probe gone(&log);
    };
    form.Create();
    EXPECT_FALSE(outside.Loading());
    EXPECT_FALSE(inside->Loading());
    EXPECT_EQ(log, (std::vector<std::string>{"loading", "loaded"}));
}

}  // namespace
}  // namespace kestrin::test
