#include "support/dialog_watcher.h"

#include <algorithm>
#include <utility>

#include "support/wait.h"

namespace kestrin::test {

namespace {

// The static control that shows a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

struct Search {
    const std::string* caption;
    HWND found = nullptr;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return TRUE;
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) != "#32770") return TRUE;
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    if (*search->caption != text || !IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

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
    HWND box = nullptr;
    if (!WaitFor([&] {
            Search search{&caption_};
            EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
            return (box = search.found) != nullptr;
        },
        timeoutMs))
        return;
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
