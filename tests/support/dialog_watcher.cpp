#include "support/dialog_watcher.h"

#include <algorithm>
#include <utility>

#include "support/wait.h"
#include "support/windows_find.h"

namespace kestrin::test {

// The static control that shows a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

DialogWatcher::DialogWatcher(std::string caption, int button, DWORD timeoutMs, std::function<bool()> pressWhen)
    : caption_(std::move(caption)),
      button_(button),
      pressWhen_(std::move(pressWhen)),
      thread_([this, timeoutMs] { Watch(timeoutMs); }) {}

DialogWatcher::~DialogWatcher() {
    if (thread_.joinable()) thread_.join();
}

const DialogSeen& DialogWatcher::Result() {
    if (thread_.joinable()) thread_.join();
    return seen_;
}

void DialogWatcher::Watch(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    // Visible: its set-up (texts, buttons) is done by then.
    HWND box = WaitForShownWindow("#32770", caption_.c_str(), timeoutMs, GetCurrentProcessId());
    if (!box) return;
    if (pressWhen_) WaitFor(pressWhen_, timeoutMs - std::min(timeoutMs, GetTickCount() - start));
    seen_.found = true;
    seen_.caption = caption_;
    char text[1024] = {};
    GetDlgItemTextA(box, kMessageBoxTextId, text, sizeof text);
    seen_.text = text;
    seen_.owner = GetWindow(box, GW_OWNER);
    seen_.threadId = GetWindowThreadProcessId(box, nullptr);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button_)));
}

}  // namespace kestrin::test
