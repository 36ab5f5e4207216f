#include "tray/portable/icon_registry.h"

#include "win32/portable/cp932.h"

namespace kestrin {

std::string CutTip(std::string_view tip) { return std::string(tip.substr(0, Cp932FitBytes(tip, kMaxTipBytes))); }

uint32_t NotifyFlagsFor(std::string_view tip) {
    return kNotifyFlagMessage | kNotifyFlagIcon | (tip.empty() ? 0 : kNotifyFlagTip);
}

int32_t NextFrameIndex(int32_t index, int32_t count) { return index < count - 1 ? index + 1 : 0; }

int32_t ClampFrameIndex(int32_t index, int32_t count) { return index > count - 1 ? 0 : index; }

}  // namespace kestrin
