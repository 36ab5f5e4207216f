#pragma once
// Helpers for the tray icon tests: a recorder put in front of the shell's
// notification area, solid-colour icons whose colour tells which picture the
// shell was given, a hidden owner form that passes the taskbar's broadcast
// on, and a catcher for errors that reach the top-level handler.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/form.h"
#include "support/app_fixture.h"
#include "win32/handles.h"
#include "support/wait.h"
#include "tray/shell_notify.h"
#include "tray/tray_icon.h"

namespace kestrin::test {

// One Shell_NotifyIconA call as the shell saw it.
struct ShellCall {
    DWORD message = 0;  // NIM_ADD, NIM_MODIFY, NIM_DELETE
    DWORD cbSize = 0;
    HWND window = nullptr;
    UINT id = 0;
    UINT flags = 0;
    UINT callbackMessage = 0;
    HICON icon = nullptr;
    // Colour of the picture's centre at the time of the call (0xFFFFFFFF
    // for no picture): the frame's handle is gone by the time a test looks.
    uint32_t colour = 0xFFFFFFFF;
    std::string tip;  // up to its terminating zero
    DWORD threadId = 0;
    bool result = false;
};

// Records every call while it lives. Fake mode answers every call with
// success and leaves the real tray alone; Forward mode passes each call on
// to Shell_NotifyIconA and records its answer.
class ShellRecorder {
public:
    enum Mode { Fake, Forward };
    explicit ShellRecorder(Mode mode = Fake);
    ~ShellRecorder();
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

    std::vector<ShellCall> Calls() const;
    std::vector<ShellCall> Calls(DWORD message) const;
    size_t Count(DWORD message) const;
    void Clear();
    // From now on calls of that kind fail (Fake mode), until FailNone.
    void Fail(DWORD message);
    void FailNone();

private:
    ShellNotifyFunction previous_;
};

// A square icon of one colour (0x00RRGGBB), fully opaque.
IconHandle SolidIcon(uint32_t colour, int size = 16);
// Colour of the icon's centre when drawn on black; 0xFFFFFFFF for no icon.
uint32_t IconColour(HICON icon);

// A hidden form to own tray icons; passes "TaskbarCreated" to `Icon`.
class TrayOwnerForm : public Form {
public:
    const char* ClassName() const override { return "TTrayTestOwner"; }
    int TaskbarCreatedSeen = 0;
    TTrayIcon* Icon = nullptr;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// Catches the error boxes of what reaches the application's top-level error handler.
class ErrorCatcher {
public:
    std::vector<std::string> Messages() const;

private:
    std::vector<ShownError> shown_;
    ErrorBoxCatcher catcher_{shown_};
};

// The process's tray callback window (a child of `owner`), or nullptr.
HWND FindCallbackWindow(HWND owner);

// Posts a notification as the shell does (message 0x4C8, wParam = icon
// identifier, lParam = mouse message) and handles this thread's queue.
void PostTrayNotification(HWND callbackWindow, uint32_t id, UINT mouseMessage);

// Screen point of the centre of the first run of `colour` in the taskbar's
// notification area (searched from the right); {-1, -1} when not shown.
POINT FindColourInTaskbar(uint32_t colour);

// Screen point of the centre of the icon (window, id) where the shell has
// put it; {-1, -1} when it is not shown within the time. The shell is asked
// where it is; one that cannot tell (Wine 8) is asked to show a marker
// picture for that icon, of a colour found nowhere else on the taskbar, which
// is then looked for. The marker stays until the icon's owner sends a picture.
POINT LocateTrayIcon(HWND window, UINT id, DWORD timeoutMs = kGenerousMs);

}  // namespace kestrin::test
