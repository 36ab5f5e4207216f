#pragma once
// Acts on a window of this process from a thread of its own, for tests
// whose main thread sits in that window's modal loop: waits until a visible
// top-level window of the class is the active one, then runs the action
// (keys, clicks, checks) with its handle.
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace kestrin::test {

class WindowActor {
public:
    WindowActor(std::string className, std::function<void(HWND)> action, DWORD timeoutMs = 10000);
    ~WindowActor();
    WindowActor(const WindowActor&) = delete;
    WindowActor& operator=(const WindowActor&) = delete;

    // Waits for the thread; true when the window showed and the action ran.
    bool Acted();
    // Whether the action has run, without waiting (for a loop that pumps).
    bool Done() const noexcept { return acted_; }

private:
    std::atomic<bool> acted_{false};
    std::thread thread_;
};

}  // namespace kestrin::test
