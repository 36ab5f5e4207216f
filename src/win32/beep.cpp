#include "win32/beep.h"

#include <atomic>

namespace kestrin {

namespace {
std::atomic<BeepFunction> installedBeep{nullptr};
}  // namespace

BeepFunction SetBeepFunction(BeepFunction function) noexcept { return installedBeep.exchange(function); }

void RefusalBeep() noexcept {
    const BeepFunction beep = installedBeep.load();
    (beep ? beep : &MessageBeep)(0);
}

}  // namespace kestrin
