#include "support/kestrin_env.h"

#include <fstream>

#include "support/input.h"
#include "support/wine_paths.h"
#include "support/windows_find.h"

namespace kestrin::test {

std::string IniPath() { return DocumentsFolder() + "\\Kestrin.ini"; }

void RemoveIni() { DeleteFileA(IniPath().c_str()); }

void WriteIni(const std::vector<std::string>& lines) {
    std::string text = "[Settings]\r\n";
    for (const auto& line : lines) text += line + "\r\n";
    WriteFileBytes(IniPath(), text);
}

std::vector<std::pair<std::string, std::string>> IniEntries() {
    std::vector<std::pair<std::string, std::string>> entries;
    std::string text = ReadFileBytes(IniPath());
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (auto eq = line.find('='); eq != std::string::npos)
            entries.emplace_back(line.substr(0, eq), line.substr(eq + 1));
        pos = end + 1;
    }
    return entries;
}

HWND WaitForController(DWORD processId, DWORD timeoutMs) {
    return WaitForWindow("TMemCMain", nullptr, timeoutMs, processId);
}

HWND WaitForController(const KestrinProcess& k, DWORD timeoutMs) { return WaitForController(k.ProcessId(), timeoutMs); }

HWND CallbackWindow(HWND controller) { return FindWindowExA(controller, nullptr, "TCallbackWindow", nullptr); }

void PostTrayMessage(HWND callbackWindow, UINT mouseMessage, UINT iconId) {
    PostMessageA(callbackWindow, WM_USER + 200, iconId, mouseMessage);
}

HWND OpenTrayMenu(DWORD processId, HWND callbackWindow) {
    PostTrayMessage(callbackWindow, WM_RBUTTONDOWN);
    return WaitForTrackingMenu(processId);
}

HWND OpenTrayMenu(const KestrinProcess& k, HWND callbackWindow) { return OpenTrayMenu(k.ProcessId(), callbackWindow); }

bool CloseMenu(HWND menu) {
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    // The program lets its menu go after every popup, and the menu's window with it.
    return WaitFor([&] { return !IsWindow(menu); });
}

const std::vector<MenuDialog>& TrayMenuDialogs() {
    // Up from the bottom to 設定, Down to the first item, the About item's accelerator.
    static const std::vector<MenuDialog> dialogs{
        {"TPropForm", {VK_UP, VK_UP, VK_UP, VK_UP, VK_RETURN}},
        {"TOmakeForm", {VK_DOWN, VK_RETURN}},
        {"TAboutBox", {'A'}},
    };
    return dialogs;
}

HWND OpenFromTrayMenu(DWORD processId, HWND callbackWindow, const MenuDialog& dialog) {
    HWND menu = OpenTrayMenu(processId, callbackWindow);
    if (!menu || !WaitFor([&] { return HasKeyboard(menu); })) return nullptr;
    for (WORD key : dialog.keys) SendKey(key);
    return WaitForShownWindow(dialog.className, nullptr, kGenerousMs, processId);
}

bool CloseWithCloseBox(DWORD processId, HWND window, const MenuDialog& dialog) {
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    return WaitForWindowGone(dialog.className, kGenerousMs, processId);
}

HWND WaitForMessageBox(const KestrinProcess& k, const char* caption, DWORD timeoutMs) {
    return WaitForShownWindow("#32770", caption, timeoutMs, k.ProcessId());
}

std::vector<std::string> MessageBoxTexts(HWND box) { return ChildTexts(box); }

void DismissMessageBox(HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); }

}  // namespace kestrin::test
