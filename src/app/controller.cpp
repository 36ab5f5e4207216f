#include "app/controller.h"

#include <string>
#include <utility>

#include "app/html_help.h"
#include "app/interval_thread.h"
#include "app/notice.h"
#include "app/portable/help_topics.h"
#include "settings/portable/settings_rules.h"
#include "app/splash.h"
#include "app/windows_process_system.h"
#include "dialogs/about_box.h"
#include "dialogs/shortcut_dialog.h"
#include "dialogs/settings_dialog.h"
#include "framework/application.h"
#include "win32/diagnostics.h"
#include "win32/files.h"
#include "framework/wait.h"
#include "win32/portable/error.h"
#include "framework/portable/messages.h"
#include "win32/portable/decimal_text.h"
#include "win32/portable/path_text.h"
#include "win32/portable/scope_exit.h"

namespace kestrin {

namespace {
constexpr char kHotKeyAtomName[] = "KestrinHK";
constexpr char kHotKeyTakenText[] = "同じホットキーの登録があります\r\nホットキーの登録に失敗しました。";
constexpr char kWarningCaption[] = "警告";
constexpr char kErrorCaption[] = "エラー";
constexpr uint32_t kNoticeMs = 1000;
constexpr DWORD kSplashMs = 1500;
// A shell that is not ready (a start at logon) gets a few more tries.
constexpr int kTrayRetries = 3;
constexpr DWORD kTrayRetryMs = 500;
}  // namespace

TMemCMain::TMemCMain(SharedState& state, std::vector<std::string> arguments)
    : state_(state), arguments_(std::move(arguments)) {
    SetCaption("MemCMain");
    // Never shown, so no system menu (the system would make and keep one)
    // and nothing painted.
    SetSystemMenu(false);
    SetNeverPainted();
}

TMemCMain::~TMemCMain() {
    // The interval thread must be gone before the tray icon it animates.
    if (intervalThread_) StopIntervalThread();
    tb_.reset();
}

void TMemCMain::BuildTray() {
    struct MenuEntry {
        const char* caption;  // none: a separator
        void (TMemCMain::*click)();
    };
    // The items MakeSC, SetProp, N3, HelpDisp, VerDisp, N1 and Quit.
    static constexpr MenuEntry kTrayMenu[] = {
        {"ショートカット作成", &TMemCMain::MakeSCClick},
        {"設定", &TMemCMain::SetPropClick},
        {nullptr, nullptr},
        {"ヘルプ", &TMemCMain::HelpDispClick},
        {"ﾊﾞｰｼﾞｮﾝ情報(&A)...", &TMemCMain::VerDispClick},
        {nullptr, nullptr},
        {"閉じる", &TMemCMain::QuitClick},
    };
    // The tray icon opens it beside the taskbar, never over the icon (where
    // a second right click would choose 閉じる).
    pm_ = std::make_unique<PopupMenu>(Handle());
    for (const MenuEntry& entry : kTrayMenu) {
        if (!entry.caption)
            pm_->AddSeparator();
        else
            pm_->AddItem(entry.caption, [this, click = entry.click] { (this->*click)(); });
    }

    il_ = std::make_unique<ImageList>();

    tb_ = std::make_unique<TTrayIcon>(*this);
    tb_->SetAnimateIcons(il_.get());
    tb_->SetRBPopupMenu(pm_.get());
    tb_->SetTipHelp("Kestrin");
    // The shell shows the icon at the small icon's size: the picture drawn for
    // it, not the large one shrunk (small icons are square: SM_CYSMICON is the same).
    IconPicture icon;
    icon.LoadResource(App().Instance(), "MAINICON", GetSystemMetrics(SM_CXSMICON));
    tb_->SetIcon(std::move(icon));
    tb_->OnMouseDown = [this](TTrayIcon& sender, MouseButton button, ShiftState shift, int x, int y) {
        TBMouseDown(sender, button, shift, x, y);
    };
}

void TMemCMain::FormCreate() {
    state_.NoticeRound = 1;
    LoadSettings();
    ApplyHotKeySetting();

    if (CommandLineMode()) {
        Trace("one-shot mode");
        RunPasses();
        App().Terminate();
        return;
    }

    auto splash = MakeForm<TSS>();
    splash->Show();
    splash->Update();
    BuildTray();
    FillImageList();
    ShowTrayIcon();
    state_.ManualRequest = false;
    helpFilePath_ = ChangeFileExt(ProgramFilePath(), ".chm");
    App().SetHelpHandler([this](uint16_t command, uint32_t data) { return FormHelp(command, data); });
    state_.StopRequested = false;
    ::Sleep(kSplashMs);
    ReleaseForm(std::move(splash));
    if (state_.AppSettings.IntervalMinutes != 0) StartIntervalThread();
    Trace("resident");
}

bool TMemCMain::CommandLineMode() const {
    if (arguments_.size() != 1) return false;
    std::string arg = arguments_[0];
    for (char& c : arg)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return arg == "/n" || arg == "-n";
}

void TMemCMain::RunPasses() {
    const int32_t count = state_.AppSettings.ManualOnce ? 1 : state_.AppSettings.PassCount.load();
    for (int32_t i = 0; i < count; ++i) Compact();
}

void TMemCMain::FillImageList() {
    // Named, not loaded: the frames are made when an animation needs them.
    for (const char* name : {"MAINICON", "MAINICON2"}) il_->AddIconResource(App().Instance(), name);
}

void TMemCMain::ShowTrayIcon() {
    try {
        tb_->SetVisible(true);
        // The moment the icon is in the tray, for a debugger (and the benchmark).
        if (tb_->IconAdded()) Trace("tray icon added");
    } catch (const KestrinError&) {
        // At a start at logon the shell may not take icons yet.
        TraceError("tray icon not added yet");
        for (int retry = 0; retry < kTrayRetries && !tb_->IconAdded(); ++retry) {
            ::Sleep(kTrayRetryMs);
            tb_->HandleTaskbarCreated();
        }
        if (tb_->IconAdded()) {
            Trace("tray icon added");
            return;
        }
        // The start-up goes on (Visible stays true, so the icon comes back
        // with the shell's next "TaskbarCreated"); the message waits for the
        // loop, once the splash is gone.
        Trace("tray icon refused");
        App().HandleExceptionLater(std::current_exception());
    }
}

void TMemCMain::ApplyHotKeySetting() {
    hotKey_.Drop();
    // A hot key without a key (the entry left empty) is no hot key.
    if (!state_.AppSettings.UseHotKey || state_.AppSettings.HotKeyChar == 0) return;
    if (!hotKey_.Register(Handle(), kHotKeyAtomName, state_.AppSettings.HotKeyShifts, state_.AppSettings.HotKeyChar))
        ShowMessageBox(kHotKeyTakenText, kWarningCaption, MB_ICONEXCLAMATION);
}

std::string TMemCMain::GetFolderDir() { return DocumentsFolder(App().Handle()); }

void TMemCMain::LoadSettings() {
    settings_.Open(GetFolderDir());
    settings_.Load(state_.AppSettings);
}

void TMemCMain::SaveSettings() {
    // Values never read from the user's file are not written over it.
    if (!settings_.Save(state_.AppSettings)) Trace("settings not saved: the file could not be read at start");
}

void TMemCMain::Compact() {
    WindowsProcessSystem system;
    Trace(std::string("pass start on ") + (OnIntervalThread() ? "interval thread" : "main thread"));
    kestrin::Compact(system, *this, state_);
    Trace("pass end");
}

void TMemCMain::TBMouseDown(TTrayIcon&, MouseButton button, ShiftState, int, int) {
    if (button != mbLeft) return;
    state_.ManualRequest = true;
    RunPasses();
}

void TMemCMain::WMHotKey(WPARAM identifier) {
    // With no hot key registered there is nothing a WM_HOTKEY can stand for.
    if (HotKeyAtom() == 0 || identifier != HotKeyAtom()) return;
    Trace("hot key");
    Compact();
    if (state_.AppSettings.ShowNotice) {
        ShowNoticeNow(false);
        state_.ManualRequest = false;
    }
}

bool TMemCMain::FormHelp(uint16_t command, uint32_t data) {
    // A dialog's help context (HELP_CONTEXT, which HtmlHelp would read as
    // HH_DISPLAY_TOC) opens that dialog's page.
    const HelpCall call = HelpCallFor(command, data);
    Trace("help " + DecimalText(command) + " " + DecimalText(data));
    // A help file missing beside the program is named to the user, not left
    // to the viewer (which, under Wine at least, shows nothing).
    if (!FileExists(helpFilePath_)) {
        ShowMessageBox("ヘルプファイル「" + helpFilePath_ + "」が見つかりません。", kWarningCaption,
                       MB_ICONEXCLAMATION);
        return true;
    }
    HtmlHelp(Handle(), helpFilePath_ + call.FileSuffix, call.Command, call.Data);
    return true;
}

// Every help request, F1 in a dialog included, reaches FormHelp this one way.
void TMemCMain::HelpDispClick() { App().HelpCommand(1 /* HH_DISPLAY_TOC */, 0); }

void TMemCMain::FormKeyDown(WORD& key, ShiftState) {
    if (key != VK_F1) return;
    HelpDispClick();
    key = 0;
}

bool TMemCMain::BroughtForward(const Form* shown) {
    if (!shown) return false;
    SetForegroundWindow(shown->Handle());
    return true;
}

void TMemCMain::ShowModalAs(Form*& shown, Form& dialog) {
    shown = &dialog;
    const ScopeExit gone([&shown] { shown = nullptr; });
    dialog.ShowModal();
}

void TMemCMain::MakeSCClick() {
    if (BroughtForward(shortcutDialog_)) return;
    auto dialog = MakeForm<TOmakeForm>();
    ShowModalAs(shortcutDialog_, *dialog);
    ReleaseForm(std::move(dialog));
}

void TMemCMain::SetPropClick() {
    if (BroughtForward(settingsDialog_)) return;
    {
        auto dialog = MakeForm<TPropForm>(
            PropFormContext{state_.AppSettings, settings_, [this] { ApplyHotKeySetting(); }});
        Trace("settings dialog shown");
        ShowModalAs(settingsDialog_, *dialog);
        ReleaseForm(std::move(dialog));
    }
    // 閉じる chosen from the menu while the dialog was up: the program has
    // closed, its interval thread stopped and its settings saved.
    if (App().Terminated()) return;
    // Whatever the dialog did, the interval count starts afresh.
    RestartIntervalThread();
}

void TMemCMain::VerDispClick() {
    if (BroughtForward(aboutBox_)) return;
    // The interval count stands still while the version dialog is open, and
    // goes on however the dialog ends.
    PauseInterval();
    const ScopeExit resume([this] { ResumeInterval(); });
    auto about = MakeForm<TAboutBox>();
    ShowModalAs(aboutBox_, *about);
    ReleaseForm(std::move(about));
}

void TMemCMain::QuitClick() {
    state_.StopRequested = true;
    Close();
}

void TMemCMain::StartIntervalThread() {
    // The settings confirmed or a logoff cancelled under the About box start
    // the thread again: it stands still until the box closes, like the last.
    intervalThread_ = std::make_unique<TTThread>(
        state_,
        [this] { Compact(); },
        nullptr, intervalPauses_);
}

void TMemCMain::RestartIntervalThread() {
    // At most one interval thread, counting from 0, and none with the interval at 0.
    if (intervalThread_) StopIntervalThread();
    if (state_.AppSettings.IntervalMinutes == 0) return;
    state_.SecondsElapsed = 0;
    state_.StopRequested = false;
    StartIntervalThread();
}

void TMemCMain::StopIntervalThread() {
    state_.StopRequested = true;
    StopIntervalThreadAndWait(intervalThread_);
}

void TMemCMain::FormCloseQuery(bool&) {
    if (intervalThread_) StopIntervalThread();
    if (tb_) tb_->SetAnimateIcons(nullptr);
    il_.reset();
    try {
        SaveSettings();
    } catch (...) {
        // The close goes ahead all the same: a program that cannot be closed
        // (or that refuses the logoff) would be worse, and nothing is lost,
        // since the settings dialog writes every change when it is confirmed.
        App().HandleException(std::current_exception());
    }
    Trace("settings saved");
}

// A logoff or shutdown that was cancelled after the close query: the program
// goes on, so it gets back what the query took from it.
void TMemCMain::ResumeAfterCancelledEndSession() {
    settings_.Reopen();
    if (!il_) {
        il_ = std::make_unique<ImageList>();
        FillImageList();
        if (tb_) tb_->SetAnimateIcons(il_.get());
    }
    RestartIntervalThread();
    Trace("resumed after cancelled end of session");
}

void TMemCMain::FormDestroy() {
    hotKey_.Drop();
    // An end without the close (a failed pass) leaves the interval thread
    // running, perhaps in the middle of its tray animation: it goes before
    // the icon it animates.
    if (intervalThread_) StopIntervalThread();
    // Out of the tray while the window the shell knows is still there.
    tb_.reset();
}

bool TMemCMain::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (message) {
        case WM_HOTKEY:
            WMHotKey(wParam);
            result = 0;
            return true;
        case kTrayIconBackMessage:
            if (tb_) tb_->HandleTaskbarCreated();
            result = 0;
            return true;
        case kShowNoticeMessage:
            ShowNoticeNow(wParam != 0);
            result = 0;
            return true;
        case WM_ENDSESSION:
            if (!wParam) ResumeAfterCancelledEndSession();
            result = 0;
            return true;
        default:
            // The broadcast may reach us while the animation worker holds the
            // icon and waits for the shell: the icon goes back from the loop.
            if (message == TTrayIcon::TaskbarCreatedMessage()) PostMessageA(Handle(), kTrayIconBackMessage, 0, 0);
            return false;
    }
}

// --- PassHost ---

bool TMemCMain::OnIntervalThread() { return TTThread::IsCallingThread(); }

bool TMemCMain::HasIntervalThread() { return intervalThread_ != nullptr; }

void TMemCMain::PauseInterval() {
    ++intervalPauses_;
    if (intervalThread_) intervalThread_->Pause();
}

void TMemCMain::ResumeInterval() {
    if (intervalPauses_ == 0) return;
    --intervalPauses_;
    if (intervalThread_) intervalThread_->Resume();
}

void TMemCMain::ShowNotice(bool handleMessages) {
    if (OnIntervalThread()) {
        // The notice belongs to the main thread's user interface.
        PostMessageA(Handle(), kShowNoticeMessage, handleMessages ? 1 : 0, 0);
        return;
    }
    ShowNoticeNow(handleMessages);
}

void TMemCMain::ShowNoticeNow(bool handleMessages) {
    // Kept here, not in a shared reference: a pass nested in the wait below
    // makes its own notice, and each is released exactly once.
    auto notice = MakeForm<TNoticeForm>();
    Trace("notice shown");
    WaitTicks(kNoticeMs, handleMessages ? TickWait::HandleMessages : TickWait::NoMessages);
    ReleaseForm(std::move(notice));
}

bool TMemCMain::Animating() { return tb_ && tb_->Animating(); }

void TMemCMain::StartAnimation() {
    Trace("animation start");
    if (tb_) tb_->StartAnimation(false);
}

void TMemCMain::StopAnimation() {
    if (tb_) tb_->StopAnimation();
    Trace("animation stop");
}

void TMemCMain::Sleep(uint32_t ms) { ::Sleep(ms); }

void TMemCMain::FailPass(const std::string& message) {
    const DWORD systemError = GetLastError();  // of the sweep's call that failed, if one did
    Trace("pass failed: " + message + " (system error " + DecimalText(systemError) + ")");
    ShowMessageBox(message, kErrorCaption, MB_ICONERROR);
    App().Terminate();
}

}  // namespace kestrin
