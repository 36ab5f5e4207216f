#pragma once
// The files and windows of a Kestrin run, as a user or the shell sees them.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "support/kestrin_process.h"

namespace kestrin::test {

// Full path of the ini file Kestrin.exe uses (documents folder).
std::string IniPath();
// Removes it (before a test that wants the defaults).
void RemoveIni();
// Writes an ini file with the given lines under [Settings].
void WriteIni(const std::vector<std::string>& lines);
// The key=value lines of the file, in file order.
std::vector<std::pair<std::string, std::string>> IniEntries();

// The controller's hidden window and the tray icon's callback window.
HWND WaitForController(DWORD processId, DWORD timeoutMs = 20000);
HWND WaitForController(const KestrinProcess& k, DWORD timeoutMs = 20000);
HWND CallbackWindow(HWND controller);

// Posts the shell's tray notification (message 0x4C8) for icon 1.
void PostTrayMessage(HWND callbackWindow, UINT mouseMessage, UINT iconId = 1);

// Opens the tray menu with a right press and waits until it tracks; nullptr
// on timeout. The program handles its messages in order, so by then it has
// handled everything posted to it before: a test that checks that something
// did not happen asks for the menu first, then checks.
HWND OpenTrayMenu(DWORD processId, HWND callbackWindow);
HWND OpenTrayMenu(const KestrinProcess& k, HWND callbackWindow);
// Closes a menu with Esc; true once it has gone.
bool CloseMenu(HWND menu);

// The dialogs of the tray menu, each with the keys that open it once the
// menu has the keyboard.
struct MenuDialog {
    const char* className;
    std::vector<WORD> keys;
};
const std::vector<MenuDialog>& TrayMenuDialogs();  // settings, shortcuts, About
// Opens one from the tray menu; the dialog once it shows, nullptr otherwise.
HWND OpenFromTrayMenu(DWORD processId, HWND callbackWindow, const MenuDialog& dialog);
// Closes it with its close box; true once it has gone.
bool CloseWithCloseBox(DWORD processId, HWND window, const MenuDialog& dialog);

// A message box of that process with that caption (class "#32770"), once
// it shows (its texts are in place by then).
HWND WaitForMessageBox(const KestrinProcess& k, const char* caption, DWORD timeoutMs);
std::vector<std::string> MessageBoxTexts(HWND box);
void DismissMessageBox(HWND box);

}  // namespace kestrin::test
