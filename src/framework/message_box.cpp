#include "framework/message_box.h"

#include "framework/application.h"
#include "win32/common_controls.h"

namespace kestrin {

int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags) {
    HWND owner = nullptr;
    if (App().IsMainThread()) {
        owner = GetActiveWindow();
        if (!owner) owner = App().Handle();
    }
    // The box's buttons are common controls: loaded here, they go with the box.
    const CommonControls buttons = CommonControls::Hold();
    return MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

}  // namespace kestrin
