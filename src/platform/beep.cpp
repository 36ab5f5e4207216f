#include "platform/beep.h"

#include <atomic>

namespace kestrin {

namespace {
std::atomic<BeepFunction> installed{nullptr};
}  // namespace

BeepFunction SetBeepFunction(BeepFunction function) noexcept { return installed.exchange(function); }

void RefusalBeep() noexcept {
    const BeepFunction beep = installed.load();
    (beep ? beep : &MessageBeep)(0);
}

}  // namespace kestrin
