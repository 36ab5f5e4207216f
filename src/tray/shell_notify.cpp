#include "tray/shell_notify.h"

#include <atomic>

namespace kestrin {

namespace {
// Read by the animation worker while the GUI thread may swap it.
std::atomic<ShellNotifyFunction> installedNotify{&Shell_NotifyIconA};
}  // namespace

ShellNotifyFunction SetShellNotifyFunction(ShellNotifyFunction function) noexcept {
    return installedNotify.exchange(function ? function : &Shell_NotifyIconA);
}

bool ShellNotify(DWORD message, NOTIFYICONDATAA& data) { return installedNotify.load()(message, &data) != FALSE; }

}  // namespace kestrin
