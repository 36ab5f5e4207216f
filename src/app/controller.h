#pragma once
// The hidden controller: created once, never shown. It owns the tray icon,
// the tray menu and the global hot key, runs the start-up, turns the user's
// actions into compaction passes and saves the settings at close.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/portable/compaction_pass.h"
#include "settings/portable/shared_state.h"
#include "settings/settings_store.h"
#include "framework/form.h"
#include "win32/hot_key.h"
#include "framework/image_list.h"
#include "framework/popup_menu.h"
#include "tray/tray_icon.h"

namespace kestrin {

class TTThread;

class TMemCMain : public Form, private PassHost {
public:
    // `arguments`: the command-line arguments after the program name.
    TMemCMain(SharedState& state, std::vector<std::string> arguments);
    ~TMemCMain() override;

    const char* ClassName() const override { return "TMemCMain"; }

    // One compaction pass (from the handlers and the interval thread).
    void Compact();
    // The user's documents folder ("" when the shell cannot tell).
    std::string GetFolderDir();

    // Handlers, bound to the tray icon, the menu and the window's messages.
    void TBMouseDown(TTrayIcon& sender, MouseButton button, ShiftState shift, int x, int y);
    void WMHotKey(WPARAM identifier);
    bool FormHelp(uint16_t command, uint32_t data);
    void HelpDispClick();
    void MakeSCClick();
    void SetPropClick();
    void VerDispClick();
    void QuitClick();

    // The identifier of the registered hot key (the atom "KestrinHK"); 0 for none.
    uint32_t HotKeyAtom() const noexcept { return hotKey_.Id(); }
    // The one place where the hot key is dropped and, when UseHotKey is on,
    // registered anew from the settings; a refused key is warned about and
    // leaves none registered (UseHotKey keeps its value). A key of 0 (an
    // empty entry) registers nothing.
    void ApplyHotKeySetting();

    bool HasIntervalThread() override;

protected:
    void FormCreate() override;
    void FormCloseQuery(bool& canClose) override;
    void FormDestroy() override;
    void FormKeyDown(WORD& key, ShiftState shift) override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // PassHost: what a pass needs from its controller.
    bool OnIntervalThread() override;
    void PauseInterval() override;
    void ResumeInterval() override;
    void ShowNotice(bool handleMessages) override;
    bool Animating() override;
    void StartAnimation() override;
    void StopAnimation() override;
    void Sleep(uint32_t ms) override;
    void FailPass(const std::string& message) override;

    void LoadSettings();
    void SaveSettings();
    // The tray menu, the image list and the tray icon, not yet shown.
    void BuildTray();
    void ShowTrayIcon();
    bool CommandLineMode() const;
    // One pass with ManualOnce, else a batch of PassCount (none when <= 0).
    void RunPasses();
    void FillImageList();
    void StartIntervalThread();
    void StopIntervalThread();
    // After a dialog or a cancelled logoff: the interval thread afresh, if any.
    void RestartIntervalThread();
    void ShowNoticeNow(bool handleMessages);
    void ResumeAfterCancelledEndSession();
    // The tray icon stays alive while a dialog of its menu is up, so the menu
    // opens again then: the item of a dialog that is up (`shown`) brings it
    // to the front rather than open a second one (true when it is up).
    static bool BroughtForward(const Form* shown);
    // Shows a dialog of the menu modally, kept in `shown` while it is up.
    static void ShowModalAs(Form*& shown, Form& dialog);

    SharedState& state_;
    std::vector<std::string> arguments_;
    std::string helpFilePath_;
    SettingsStore settings_;
    GlobalHotKey hotKey_;
    // The tray's components (PM, IL, TB): made by a resident start-up (the
    // one-shot run shows none of them), valid from then until destruction.
    std::unique_ptr<PopupMenu> pm_;
    std::unique_ptr<ImageList> il_;
    std::unique_ptr<TTrayIcon> tb_;
    std::unique_ptr<TTThread> intervalThread_;
    // PauseInterval calls not yet resumed (main thread only): a thread started
    // again meanwhile starts under them.
    uint32_t intervalPauses_ = 0;
    // The menu's dialogs while they are up.
    Form* shortcutDialog_ = nullptr;
    Form* settingsDialog_ = nullptr;
    Form* aboutBox_ = nullptr;
};

}  // namespace kestrin
