#include "support/window_actor.h"

#include <utility>

namespace kestrin::test {

namespace {

struct Search {
    const std::string* className;
    HWND found = nullptr;
};

BOOL CALLBACK FindShown(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    char name[128] = {};
    GetClassNameA(window, name, sizeof name);
    if (*search->className != name) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

WindowActor::WindowActor(std::string className, std::function<void(HWND)> action, DWORD timeoutMs)
    : thread_([this, className = std::move(className), action = std::move(action), timeoutMs] {
          const DWORD start = GetTickCount();
          for (;;) {
              Search search{&className};
              EnumWindows(&FindShown, reinterpret_cast<LPARAM>(&search));
              // Keys go to the active window: wait until it is this one (a
              // popup menu never is: it takes the keys of its owner).
              if (search.found && (GetForegroundWindow() == search.found || className == "#32768")) {
                  action(search.found);
                  acted_ = true;
                  return;
              }
              if (GetTickCount() - start >= timeoutMs) return;
              Sleep(20);
          }
      }) {}

WindowActor::~WindowActor() {
    if (thread_.joinable()) thread_.join();
}

bool WindowActor::Acted() {
    if (thread_.joinable()) thread_.join();
    return acted_;
}

}  // namespace kestrin::test
