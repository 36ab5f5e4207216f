// Modal forms: the result from buttons, keys and close, the other windows
// disabled meanwhile, and the way out when the application ends.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "framework/application.h"
#include "framework/button.h"
#include "framework/edit.h"
#include "framework/form.h"
#include "win32/portable/error.h"
#include "support/app_fixture.h"
#include "support/modal_timeout.h"
#include "support/probe_form.h"

namespace kestrin::test {
namespace {

// A dialog with an edit, an OK button (default, result mrOk) and a cancel
// button (result mrCancel), like the program's dialogs.
struct Dialog {
    ProbeForm form{"TKestrinDialog"};
    Edit* edit = nullptr;
    Button* ok = nullptr;
    Button* cancel = nullptr;
    int okClicks = 0;
    ModalTimeout timeout{form};

    Dialog() {
        form.SetClientSize(300, 120);
        form.SetBorderStyle(bsDialog);
        form.SetPosition(poScreenCenter);
        form.Create();
        edit = &form.Add<Edit>(Bounds{10, 10, 200, 20});
        ok = &form.Add<Button>(Bounds{10, 80, 80, 25}, "OK");
        ok->SetModalResult(mrOk);
        ok->SetDefault(true);
        ok->OnClick = [this] { ++okClicks; };
        cancel = &form.Add<Button>(Bounds{100, 80, 80, 25}, "キャンセル");
        cancel->SetModalResult(mrCancel);
    }
};

using ModalTest = AppTest;

TEST_F(ModalTest, AClickOnAButtonWithAResultEndsTheLoop) {
    Dialog dialog;
    PostMessageA(dialog.ok->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.form.ShowModal(), mrOk);
    EXPECT_EQ(dialog.okClicks, 1);
    EXPECT_FALSE(dialog.form.Visible());
    EXPECT_FALSE(dialog.form.InModalLoop());
    EXPECT_EQ(dialog.form.events,
              (std::vector<std::string>{"FormCreate", "FormShow", "FormCloseQuery", "FormClose"}));
    // The dialog is hidden, not destroyed: its caller releases it.
    EXPECT_TRUE(IsWindow(dialog.form.Handle()));
}

TEST_F(ModalTest, APostedClickNotificationDoesTheSame) {
    Dialog dialog;
    PostMessageA(dialog.form.Handle(), WM_COMMAND, MAKEWPARAM(dialog.cancel->Id(), BN_CLICKED),
                 reinterpret_cast<LPARAM>(dialog.cancel->Handle()));
    EXPECT_EQ(dialog.form.ShowModal(), mrCancel);
}

TEST_F(ModalTest, EnterPressesTheDefaultButton) {
    Dialog dialog;
    PostMessageA(dialog.edit->Handle(), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(dialog.form.ShowModal(), mrOk);
    EXPECT_EQ(dialog.okClicks, 1);
}

TEST_F(ModalTest, EscDoesNothing) {
    Dialog dialog;
    int escapesSeen = 0;
    dialog.form.OnMessage = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message != kProbeMessage) return false;
        // Runs after the Esc: the dialog is still modal, without a result.
        escapesSeen = dialog.form.InModalLoop() && dialog.form.ModalResult() == mrNone ? 1 : -1;
        dialog.form.SetModalResult(IDRETRY);
        return true;
    };
    PostMessageA(dialog.edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageA(dialog.form.Handle(), kProbeMessage, 0, 0);
    EXPECT_EQ(dialog.form.ShowModal(), IDRETRY);
    EXPECT_EQ(escapesSeen, 1);
}

TEST_F(ModalTest, ASecondShowModalOfTheSameFormIsRefusedWithTheProgramsError) {
    Dialog dialog;
    std::string refusal;
    dialog.form.OnMessage = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message != kProbeMessage) return false;
        try {
            dialog.form.ShowModal();
            refusal = "none";
        } catch (const KestrinError& error) {
            refusal = error.what();
        }
        dialog.form.SetModalResult(mrOk);
        return true;
    };
    PostMessageA(dialog.form.Handle(), kProbeMessage, 0, 0);
    EXPECT_EQ(dialog.form.ShowModal(), mrOk);
    EXPECT_EQ(refusal, "ShowModal on a form that is already modal");
    EXPECT_FALSE(dialog.form.InModalLoop());
}

TEST_F(ModalTest, RealKeyboardEnterReachesTheDefaultButton) {
    Dialog dialog;
    dialog.form.OnMessage = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message != kProbeMessage) return false;
        SetForegroundWindow(dialog.form.Handle());
        dialog.edit->Focus();
        INPUT inputs[2] = {};
        inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
        inputs[0].ki.wVk = inputs[1].ki.wVk = VK_RETURN;
        inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, inputs, sizeof(INPUT));
        return true;
    };
    PostMessageA(dialog.form.Handle(), kProbeMessage, 0, 0);
    EXPECT_EQ(dialog.form.ShowModal(), mrOk);
    EXPECT_FALSE(dialog.timeout.Fired());
}

TEST_F(ModalTest, CloseEndsTheLoopWithCancel) {
    Dialog dialog;
    PostMessageA(dialog.form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(dialog.form.ShowModal(), mrCancel);
    EXPECT_TRUE(IsWindow(dialog.form.Handle()));
}

TEST_F(ModalTest, FormCloseQueryMayKeepTheDialogOpen) {
    Dialog dialog;
    dialog.form.allowClose = false;
    int refusals = 0;
    dialog.form.OnMessage = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message != kProbeMessage) return false;
        refusals = dialog.form.InModalLoop() ? 1 : -1;
        dialog.form.allowClose = true;
        PostMessageA(dialog.ok->Handle(), BM_CLICK, 0, 0);
        return true;
    };
    PostMessageA(dialog.cancel->Handle(), BM_CLICK, 0, 0);
    PostMessageA(dialog.form.Handle(), kProbeMessage, 0, 0);
    EXPECT_EQ(dialog.form.ShowModal(), mrOk);
    EXPECT_EQ(refusals, 1);
}

TEST_F(ModalTest, OtherWindowsAreDisabledWhileModalAndEnabledAfter) {
    ProbeForm other;
    other.Show();
    Dialog dialog;
    bool ownerDisabled = false;
    bool otherDisabled = false;
    bool selfEnabled = false;
    dialog.form.OnMessage = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message != kProbeMessage) return false;
        ownerDisabled = !IsWindowEnabled(App().Handle());
        otherDisabled = !IsWindowEnabled(other.Handle());
        selfEnabled = IsWindowEnabled(dialog.form.Handle()) != FALSE;
        dialog.form.SetModalResult(mrOk);
        return true;
    };
    PostMessageA(dialog.form.Handle(), kProbeMessage, 0, 0);
    dialog.form.ShowModal();
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(otherDisabled);
    EXPECT_TRUE(selfEnabled);
    EXPECT_TRUE(IsWindowEnabled(App().Handle()));
    EXPECT_TRUE(IsWindowEnabled(other.Handle()));
}

TEST_F(ModalTest, TerminateEndsTheModalLoop) {
    Dialog dialog;
    std::atomic<bool> done{false};
    std::thread other([&] {
        // Once the main thread runs calls from within the dialog's loop.
        WaitFor(
            [&] {
                bool inLoop = false;
                App().Synchronize([&] { inLoop = dialog.form.InModalLoop(); });
                return inLoop;
            },
            kGenerousMs, Pump::None);
        App().Terminate();
        done = true;
    });
    EXPECT_EQ(dialog.form.ShowModal(), mrNone);
    EXPECT_FALSE(dialog.timeout.Fired());
    WaitFor([&] { return done.load(); });  // runs its calls should the loop have ended otherwise
    other.join();
    EXPECT_TRUE(IsWindowEnabled(App().Handle()));
}

TEST_F(ModalTest, DestroyingTheDialogEndsTheLoop) {
    Dialog dialog;
    dialog.form.OnMessage = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message != kProbeMessage) return false;
        dialog.form.Destroy();
        return true;
    };
    PostMessageA(dialog.form.Handle(), kProbeMessage, 0, 0);
    EXPECT_EQ(dialog.form.ShowModal(), mrNone);
    EXPECT_EQ(dialog.form.Handle(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(App().Handle()));
}

TEST_F(ModalTest, ADialogCanBeShownModallyAgain) {
    Dialog dialog;
    PostMessageA(dialog.ok->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.form.ShowModal(), mrOk);
    PostMessageA(dialog.cancel->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.form.ShowModal(), mrCancel);
}

}  // namespace
}  // namespace kestrin::test
