#include "app/html_help.h"

#include "win32/diagnostics.h"
#include "win32/main_thread.h"
#include "win32/system_dlls.h"

namespace kestrin {

namespace {
using HtmlHelpAFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

HtmlHelpAFn LoadHtmlHelp() {
    static const HtmlHelpAFn function = []() -> HtmlHelpAFn {
        RequireStartingThread("Kestrin: the help viewer was first asked for off the main thread.");
        // Kept loaded for the rest of the run: the viewer lives in this module.
        HMODULE module = LoadSystemLibrary("hhctrl.ocx");
        if (!module) return nullptr;
        return reinterpret_cast<HtmlHelpAFn>(reinterpret_cast<void*>(GetProcAddress(module, "HtmlHelpA")));
    }();
    return function;
}
}  // namespace

HWND HtmlHelp(HWND caller, const std::string& file, uint32_t command, uintptr_t data) {
    HtmlHelpAFn function = LoadHtmlHelp();
    Trace(function ? "help viewer asked" : "help viewer missing");
    return function ? function(caller, file.c_str(), command, data) : nullptr;
}

}  // namespace kestrin
