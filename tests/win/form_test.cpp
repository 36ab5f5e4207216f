// Forms: window class and creation parameters, the close protocol, message
// and key hooks, routing of control notifications, deferred release.
#include <windows.h>
#include <gtest/gtest.h>

#include <memory>

#include "framework/application.h"
#include "framework/button.h"
#include "framework/edit.h"
#include "framework/form.h"
#include "win32/ui_font.h"
#include "support/app_fixture.h"
#include "support/modal_timeout.h"
#include "support/probe_form.h"
#include "support/windows_find.h"

namespace kestrin::test {
namespace {

using FormTest = AppTest;

TEST_F(FormTest, WindowClassIsTheFormsClassName) {
    ProbeForm main("TMemCMain");
    ProbeForm notice("TNoticeForm");
    main.Create();
    notice.Create();
    EXPECT_EQ(ClassOf(main.Handle()), "TMemCMain");
    EXPECT_EQ(ClassOf(notice.Handle()), "TNoticeForm");
    // The class gives the form its button-face background.
    EXPECT_EQ(GetClassLongPtrA(main.Handle(), GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
    // A second instance can find the first by class, as the program's entry does.
    EXPECT_EQ(FindWindowA("TMemCMain", nullptr), main.Handle());
}

TEST_F(FormTest, TwoFormsOfOneClassShareIt) {
    ProbeForm first("TKestrinShared");
    ProbeForm second("TKestrinShared");
    first.Create();
    second.Create();
    EXPECT_NE(first.Handle(), second.Handle());
    EXPECT_EQ(TopLevelWindow::FromHandle(first.Handle()), &first);
    EXPECT_EQ(TopLevelWindow::FromHandle(second.Handle()), &second);
}

TEST_F(FormTest, CreateRunsCreateControlsThenFormCreateOnce) {
    ProbeForm form;
    HWND parentSeen = nullptr;
    size_t eventsWhenBuilt = 99;
    form.onCreateControls = [&](ProbeForm& f) {
        parentSeen = f.Handle();
        eventsWhenBuilt = f.events.size();
    };
    form.Create();
    form.Create();
    EXPECT_EQ(parentSeen, form.Handle());
    EXPECT_EQ(eventsWhenBuilt, 0u);
    EXPECT_EQ(form.events, std::vector<std::string>{"FormCreate"});
}

TEST_F(FormTest, CaptionClientSizeFontAndCentredPosition) {
    ProbeForm form;
    form.SetCaption("プロパティ");
    form.SetClientSize(373, 254);
    form.SetBorderStyle(bsDialog);
    form.SetPosition(poScreenCenter);
    form.Create();
    EXPECT_EQ(TextOf(form.Handle()), "プロパティ");
    RECT client{};
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, 373);
    EXPECT_EQ(client.bottom, 254);
    RECT frame{};
    GetWindowRect(form.Handle(), &frame);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(frame.left + (frame.right - frame.left) / 2, screenWidth / 2, 1);
    EXPECT_NEAR(frame.top + (frame.bottom - frame.top) / 2, screenHeight / 2, 1);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(form.Handle(), WM_GETFONT, 0, 0)), UiFont());

    form.SetCaption("変更");
    EXPECT_EQ(TextOf(form.Handle()), "変更");
    form.SetClientSize(200, 100);
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 100);
}

// A centred form larger than the work area (a dialog at 200 % on a small screen) starts at its corner.
TEST_F(FormTest, ACentredFormIsKeptOnTheWorkArea) {
    MONITORINFO primary{sizeof primary, {}, {}, 0};
    ASSERT_TRUE(GetMonitorInfoA(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary));
    const RECT work = primary.rcWork;
    ProbeForm form;
    form.SetPosition(poScreenCenter);
    form.SetClientSize(work.right - work.left + 100, work.bottom - work.top + 100);
    form.Create();
    const RECT frame = DescribeWindow(form.Handle()).windowRect;
    EXPECT_TRUE(frame.left == work.left && frame.top == work.top) << "at " << frame.left << "," << frame.top;
}

TEST_F(FormTest, CreateParamsMayReplaceTheStylesExactly) {
    ProbeForm form("TNoticeForm");
    form.SetClientSize(234, 65);
    form.SetPosition(poScreenCenter);
    form.onCreateParams = [](CreateParamsRecord& params) {
        params.style = WS_POPUP | WS_DLGFRAME;
        params.exStyle = WS_EX_TOPMOST;
    };
    form.Create();
    // The system adds WS_CLIPSIBLINGS to every top-level window, and
    // WS_EX_WINDOWEDGE to one with a dialog frame; nothing else may differ.
    const DWORD style = static_cast<DWORD>(GetWindowLongA(form.Handle(), GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(form.Handle(), GWL_EXSTYLE));
    EXPECT_EQ(style & ~static_cast<DWORD>(WS_CLIPSIBLINGS), 0x80400000u);
    EXPECT_EQ(exStyle & ~static_cast<DWORD>(WS_EX_WINDOWEDGE), static_cast<DWORD>(WS_EX_TOPMOST));
    // The client area is the designed one for the replaced border too.
    RECT client{};
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, 234);
    EXPECT_EQ(client.bottom, 65);
    RECT frame{};
    GetWindowRect(form.Handle(), &frame);
    EXPECT_NEAR(frame.left + (frame.right - frame.left) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
}

TEST_F(FormTest, CreateParamsSeesTheInheritedValuesAndMayChangeOwnerAndCaption) {
    ProbeForm owner;
    owner.Create();
    ProbeForm form;
    form.SetCaption("SS");
    form.SetStayOnTop(true);
    CreateParamsRecord seen;
    form.onCreateParams = [&](CreateParamsRecord& params) {
        seen = params;
        params.owner = owner.Handle();
        params.caption = "changed";
    };
    form.Create();
    EXPECT_EQ(seen.caption, "SS");
    EXPECT_EQ(seen.owner, App().Handle());
    EXPECT_TRUE(seen.exStyle & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(form.Handle(), GW_OWNER), owner.Handle());
    EXPECT_EQ(TextOf(form.Handle()), "changed");
}

TEST_F(FormTest, ShowHideUpdateAndFormShow) {
    ProbeForm form;
    form.Show();  // creates the window on demand
    ASSERT_NE(form.Handle(), nullptr);
    EXPECT_TRUE(form.Visible());
    form.Update();
    form.Show();
    form.Hide();
    EXPECT_FALSE(form.Visible());
    form.Show();
    EXPECT_EQ(form.events, (std::vector<std::string>{"FormCreate", "FormShow", "FormShow"}));
}

TEST_F(FormTest, CloseAsksThenClosesAndDestroys) {
    ProbeForm form;
    form.Create();
    form.allowClose = false;
    form.Close();
    EXPECT_TRUE(IsWindow(form.Handle()));
    form.allowClose = true;
    HWND window = form.Handle();
    form.Close();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(form.Handle(), nullptr);
    EXPECT_EQ(TopLevelWindow::FromHandle(window), nullptr);
    EXPECT_EQ(form.events, (std::vector<std::string>{"FormCreate", "FormCloseQuery", "FormCloseQuery", "FormClose",
                                                     "FormDestroy"}));
    EXPECT_FALSE(App().Terminated());  // not the main form
}

TEST_F(FormTest, WmCloseRunsTheSameProtocol) {
    ProbeForm form;
    form.Create();
    form.allowClose = false;
    SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(form.Handle()));
    form.allowClose = true;
    SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(form.Handle(), nullptr);
    EXPECT_EQ(form.events.back(), "FormDestroy");
}

TEST_F(FormTest, QueryEndSessionAsksTheFormAndAnswersYes) {
    ProbeForm form;
    form.Create();
    form.allowClose = false;  // the answer is yes whatever the form says
    EXPECT_EQ(SendMessageA(form.Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_EQ(form.events, (std::vector<std::string>{"FormCreate", "FormCloseQuery"}));
    EXPECT_TRUE(IsWindow(form.Handle()));
}

TEST_F(FormTest, DestroyingTheMainFormTerminatesTheApplication) {
    ProbeForm form;
    form.Create();
    App().SetMainForm(&form);
    form.Close();
    EXPECT_TRUE(App().Terminated());
}

TEST_F(FormTest, DeletingTheMainFormClearsTheApplicationsReference) {
    auto form = std::make_unique<ProbeForm>();
    form->Create();
    App().SetMainForm(form.get());
    form.reset();
    EXPECT_EQ(App().MainForm(), nullptr);
}

TEST_F(FormTest, DeletingAFormDestroysItsWindowWithoutCallingIntoIt) {
    auto form = std::make_unique<ProbeForm>();
    form->Create();
    HWND window = form->Handle();
    form.reset();
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(FormTest, HandleMessageSeesMessagesFirst) {
    ProbeForm form;
    form.Create();
    WPARAM seenId = 0;
    form.OnMessage = [&](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message != WM_HOTKEY) return false;
        seenId = wParam;
        result = 1234;
        return true;
    };
    EXPECT_EQ(SendMessageA(form.Handle(), WM_HOTKEY, 0xC123, 0), 1234);
    EXPECT_EQ(seenId, 0xC123u);
    // Messages it leaves alone get the form's own handling.
    form.allowClose = false;
    SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(form.events.back(), "FormCloseQuery");
}

TEST_F(FormTest, FromHandleKnowsOnlyForms) {
    ProbeForm form;
    EXPECT_EQ(TopLevelWindow::FromHandle(nullptr), nullptr);
    form.Create();
    EXPECT_EQ(TopLevelWindow::FromHandle(form.Handle()), &form);
    EXPECT_EQ(TopLevelWindow::FromHandle(App().Handle()), nullptr);
    EXPECT_EQ(TopLevelWindow::FromHandle(GetDesktopWindow()), nullptr);
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, form.Handle(), nullptr, nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(TopLevelWindow::FromHandle(child), nullptr);
    EXPECT_EQ(TopLevelWindow::FromChild(child), &form);
}

// The application, forms and controls are bound in one slot each (user data
// or subclass): each lookup finds its own kind only.
TEST_F(FormTest, LookupsTellTheBoundKindsApart) {
    ProbeForm form;
    form.Create();
    auto& button = form.Add<Button>(Bounds{10, 10, 80, 25}, "OK");
    const struct {
        HWND window;
        Form* form;
        Control* control;
    } cases[] = {{form.Handle(), &form, nullptr}, {button.Handle(), nullptr, &button}, {App().Handle(), nullptr, nullptr}};
    for (const auto& c : cases) {
        EXPECT_EQ(TopLevelWindow::FromHandle(c.window), c.form);
        EXPECT_EQ(Control::FromHandle(c.window), c.control);
    }
}

TEST_F(FormTest, ButtonClickReachesItsHandlerThroughTheForm) {
    ProbeForm form;
    form.Create();
    auto& button = form.Add<Button>(Bounds{10, 10, 80, 25}, "OK");
    int clicks = 0;
    button.OnClick = [&] { ++clicks; };
    EXPECT_EQ(GetParent(button.Handle()), form.Handle());
    form.Show();
    PostMessageA(button.Handle(), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return clicks == 1; }));
    // The posted notification of a click goes the same way.
    PostMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(button.Id(), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button.Handle()));
    ASSERT_TRUE(WaitFor([&] { return clicks == 2; }));
}

TEST_F(FormTest, MenuCommandsReachHandleMessage) {
    ProbeForm form;
    form.Create();
    WORD command = 0;
    form.OnMessage = [&](UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
        if (message != WM_COMMAND || lParam != 0) return false;
        command = LOWORD(wParam);
        return true;
    };
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(42, 0), 0);
    EXPECT_EQ(command, 42);
}

TEST_F(FormTest, ControlKeysPassTheForm) {
    ProbeForm form;
    form.Create();
    auto& edit = form.Add<Edit>(Bounds{10, 10, 100, 20});
    int formKeys = 0;
    form.onKeyDown = [&](WORD&, ShiftState) { ++formKeys; };
    form.onKeyPress = [&](char&) { ++formKeys; };
    form.Show();
    PostMessageA(edit.Handle(), WM_CHAR, 'q', 1);
    PostMessageA(edit.Handle(), WM_KEYDOWN, VK_F9, 1);
    ASSERT_TRUE(WaitFor([&] { return edit.Text() == "q"; }));
    App().ProcessMessages();
    EXPECT_EQ(formKeys, 0);
    // Keys of the form's own window always reach it.
    PostMessageA(form.Handle(), WM_KEYDOWN, VK_F9, 1);
    ASSERT_TRUE(WaitFor([&] { return formKeys == 1; }));
}

TEST_F(FormTest, TabMovesTheFocusAlongTheTabStops) {
    ProbeForm form;
    form.Create();
    auto& first = form.Add<Edit>(Bounds{10, 10, 100, 20});
    auto& second = form.Add<Edit>(Bounds{10, 40, 100, 20});
    auto& third = form.Add<Edit>(Bounds{10, 70, 100, 20});
    second.SetTabStop(false);
    form.Show();
    SetForegroundWindow(form.Handle());
    first.Focus();
    ASSERT_EQ(GetFocus(), first.Handle());
    PostMessageA(first.Handle(), WM_KEYDOWN, VK_TAB, 1);
    ASSERT_TRUE(WaitFor([&] { return GetFocus() == third.Handle(); }));
    // Shift is not down, so a posted Tab from the last stop wraps forward.
    PostMessageA(third.Handle(), WM_KEYDOWN, VK_TAB, 1);
    ASSERT_TRUE(WaitFor([&] { return GetFocus() == first.Handle(); }));
}

TEST_F(FormTest, MouseDownReachesTheFormAfterTheControlHadIt) {
    ProbeForm form;
    form.Create();
    auto& edit = form.Add<Edit>(Bounds{10, 10, 100, 20});
    HWND target = nullptr;
    MouseButton button = mbMiddle;
    bool focusedByThen = false;
    int x = -1;
    form.onMouseDown = [&](HWND window, MouseButton b, int px, int) {
        target = window;
        button = b;
        x = px;
        focusedByThen = GetFocus() == edit.Handle();
    };
    form.Show();
    SetForegroundWindow(form.Handle());
    PostMessageA(edit.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(edit.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(WaitFor([&] { return target != nullptr; }));
    EXPECT_EQ(target, edit.Handle());
    EXPECT_EQ(button, mbLeft);
    EXPECT_EQ(x, 5);
    EXPECT_TRUE(focusedByThen);
}

// --- deferred release ---

TEST_F(FormTest, ReleasedFormLivesUntilTheHandlerHasReturned) {
    bool deleted = false;
    auto owned = MakeForm<ProbeForm>();
    owned->deleted = &deleted;
    HWND window = owned->Handle();
    bool aliveAfterRelease = false;
    bool aliveAfterNestedLoop = false;
    // The handler lives here, not in the form, so that a premature release
    // shows as a failure rather than as a call into freed memory.
    auto handler = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message != kProbeMessage) return false;
        ReleaseForm(std::move(owned));
        aliveAfterRelease = !deleted && IsWindow(window);
        // A loop run by the releasing handler itself does not release it either.
        App().ProcessMessages();
        aliveAfterNestedLoop = !deleted && IsWindow(window);
        return true;
    };
    owned->OnMessage = [&handler](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        auto& body = handler;
        return body(message, wParam, lParam, result);
    };
    PostMessageA(window, kProbeMessage, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return deleted; }));
    EXPECT_TRUE(aliveAfterRelease);
    EXPECT_TRUE(aliveAfterNestedLoop);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(FormTest, ReleaseRunsFormDestroyBeforeTheObjectGoes) {
    bool deleted = false;
    std::vector<std::string> events;
    struct Recorder : ProbeForm {
        std::vector<std::string>* sink = nullptr;
        void FormDestroy() override { sink->push_back("FormDestroy"); }
        ~Recorder() override { sink->push_back("deleted"); }
    };
    auto form = MakeForm<Recorder>();
    form->sink = &events;
    form->deleted = &deleted;
    ReleaseForm(std::move(form));
    EXPECT_TRUE(events.empty());  // nothing before the loop turns
    App().ProcessMessages();
    EXPECT_EQ(events, (std::vector<std::string>{"FormDestroy", "deleted"}));
    EXPECT_TRUE(deleted);
}

TEST_F(FormTest, ReleaseWorksWhileAModalFormRuns) {
    // A handler opens a dialog; while the dialog is modal, another handler
    // releases a notice. The dialog's loop lies below that handler, so the
    // notice goes while the dialog is still up.
    ProbeForm host;
    host.Create();
    ProbeForm dialog;
    dialog.Create();
    bool noticeDeleted = false;
    auto notice = MakeForm<ProbeForm>();
    notice->deleted = &noticeDeleted;
    ProbeForm* noticePtr = notice.get();
    noticePtr->OnMessage = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message != kProbeMessage) return false;
        ReleaseForm(std::move(notice));
        return true;
    };
    bool deletedWhileModal = false;
    constexpr UINT_PTR kLookTimer = 7;
    dialog.OnMessage = [&](UINT message, WPARAM wParam, LPARAM, LRESULT&) {
        if (message != WM_TIMER || wParam != kLookTimer) return false;
        if (noticeDeleted) {
            deletedWhileModal = dialog.InModalLoop();
            dialog.SetModalResult(mrOk);
        }
        return true;
    };
    int result = -1;
    ModalTimeout timeout(dialog);
    host.OnMessage = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message != kProbeMessage) return false;
        PostMessageA(noticePtr->Handle(), kProbeMessage, 0, 0);
        SetTimer(dialog.Handle(), kLookTimer, 20, nullptr);
        result = dialog.ShowModal();
        KillTimer(dialog.Handle(), kLookTimer);
        return true;
    };
    PostMessageA(host.Handle(), kProbeMessage, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return result != -1; }, 20000));
    EXPECT_EQ(result, mrOk);
    EXPECT_TRUE(noticeDeleted);
    EXPECT_TRUE(deletedWhileModal);
}

TEST_F(FormTest, ReleaseFromTopLevelCodeHappensAtTheNextLoopTurn) {
    bool deleted = false;
    auto form = MakeForm<ProbeForm>();
    form->deleted = &deleted;
    ReleaseForm(std::move(form));
    EXPECT_FALSE(deleted);
    App().ProcessMessages();
    EXPECT_TRUE(deleted);
}

TEST_F(FormTest, RunCarriesOutPendingReleases) {
    bool deleted = false;
    auto form = MakeForm<ProbeForm>();
    form->deleted = &deleted;
    ReleaseForm(std::move(form));
    App().Terminate();
    App().Run();
    EXPECT_TRUE(deleted);
}

}  // namespace
}  // namespace kestrin::test
