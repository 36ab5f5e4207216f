#include "tray/shell_notify.h"

#include <atomic>

namespace kestrin {

namespace {
// Read by the animation worker while the GUI thread may swap it.
std::atomic<ShellNotifyFunction> installed{&Shell_NotifyIconA};
}  // namespace

ShellNotifyFunction SetShellNotifyFunction(ShellNotifyFunction function) noexcept {
    return installed.exchange(function ? function : &Shell_NotifyIconA);
}

bool ShellNotify(DWORD message, NOTIFYICONDATAA& data) { return installed.load()(message, &data) != FALSE; }

}  // namespace kestrin
