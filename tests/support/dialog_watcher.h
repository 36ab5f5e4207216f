#pragma once
// Waits on a thread of its own for a dialog box of this process (a message
// box: class "#32770") with a given caption, records what it shows, and
// presses one of its buttons, so that a test can go through a real modal box.
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace kestrin::test {

struct DialogSeen {
    bool found = false;
    std::string caption;
    std::string text;  // the message of a message box
    HWND owner = nullptr;
    DWORD threadId = 0;  // the thread that runs the box
};

class DialogWatcher {
public:
    // `pressWhen`, if given, holds the press back until it is true (or the
    // time is up), for tests that need something to happen while the box is up.
    explicit DialogWatcher(std::string caption, int button = IDOK, DWORD timeoutMs = 10000,
                           std::function<bool()> pressWhen = {});
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    // Waits for the watcher to finish (found and pressed, or timed out).
    const DialogSeen& Result();

private:
    void Watch(DWORD timeoutMs);

    std::string caption_;
    int button_;
    std::function<bool()> pressWhen_;
    DialogSeen seen_;
    std::thread thread_;
};

}  // namespace kestrin::test
