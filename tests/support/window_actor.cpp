#include "support/window_actor.h"

#include <utility>

#include "support/wait.h"
#include "support/windows_find.h"

namespace kestrin::test {

WindowActor::WindowActor(std::string className, std::function<void(HWND)> action, DWORD timeoutMs)
    : thread_([this, className = std::move(className), action = std::move(action), timeoutMs] {
          HWND found = nullptr;
          // Keys go to the active window: wait until it is this one (a popup
          // menu never is: it takes the keys of its owner). This thread has no
          // windows, so no messages to handle meanwhile.
          if (!WaitFor(
                  [&] {
                      found = FindTopLevelWindow(className.c_str(), nullptr, GetCurrentProcessId(), true);
                      return found && (GetForegroundWindow() == found || className == "#32768");
                  },
                  timeoutMs, Pump::None))
              return;
          action(found);
          acted_ = true;
      }) {}

WindowActor::~WindowActor() {
    if (thread_.joinable()) thread_.join();
}

bool WindowActor::Acted() {
    if (thread_.joinable()) thread_.join();
    return acted_;
}

}  // namespace kestrin::test
