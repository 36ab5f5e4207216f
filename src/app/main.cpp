// Process entry: the single-instance guard, then the hidden controller and
// the message loop.
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/controller.h"
#include "settings/portable/shared_state.h"
#include "framework/application.h"
#include "win32/handles.h"
#include "win32/system_dlls.h"
#include "win32/thread_stack.h"

// An exception that escapes everything ends the program at once. The
// library's own handler would print the exception's type, demangled, to a
// console a windowed program does not have, and brings the demangler (some
// 45 KB) into the program for it.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace {

constexpr char kMutexName[] = "hKestrinInst";

std::vector<std::string> CommandLineArguments() {
    std::vector<std::string> arguments;
    for (int i = 1; i < __argc; ++i) arguments.emplace_back(__argv[i]);
    return arguments;
}

}  // namespace

// The flags shared by the main thread and the interval thread:
// constant-initialised, never built lazily.
namespace {
constinit kestrin::SharedState sharedState;
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace kestrin;
    RestrictLibrarySearchToSystem();

    // Made or found in one step, so that of two starts at the same moment
    // (both Startup shortcuts at logon) exactly one makes it. A copy started
    // with fewer rights than the first is refused it: it is there all the same.
    KernelHandle mutex(CreateMutexA(nullptr, FALSE, kMutexName));
    if (const DWORD error = GetLastError(); error == ERROR_ALREADY_EXISTS || (!mutex && error == ERROR_ACCESS_DENIED)) {
        // Another instance runs; it is not told.
        if (FindWindowA("TMemCMain", nullptr))
            MessageBoxA(nullptr, "Kestrinは起動中です。", "警告", MB_ICONEXCLAMATION);
        return 0;
    }

    int exitCode = 0;
    try {
        App().Initialize(instance);
        App().SetTitle("");
        auto controller = std::make_unique<TMemCMain>(sharedState, CommandLineArguments());
        App().SetMainForm(controller.get());
        controller->Create();
        App().SetShowMainForm(false);
        ReleaseUnusedStack();
        App().Run();
        // A failed pass ends the loop without closing the controller: its
        // destruction still takes the hot key and the tray icon away.
        if (controller->Handle()) controller->Destroy();
        App().SetMainForm(nullptr);
    } catch (...) {
        // An error out of the start-up (a window that cannot be made): the
        // controller is gone with whatever it had made; the error is shown
        // at the top level and the program ends.
        App().SetMainForm(nullptr);
        App().HandleException(std::current_exception());
        exitCode = 1;
    }
    ReleaseMutex(mutex.get());
    return exitCode;
}
