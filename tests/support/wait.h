#pragma once
// Waiting for the event itself instead of sleeping and hoping: every wait of
// the tests polls for the thing it waits for and gives up after a generous
// time, so that a loaded machine only makes a test slower and a fault makes
// it fail, never hang.
#include <windows.h>

#include <functional>

namespace kestrin::test {

// Long enough for anything that does happen, on a shared and loaded machine.
constexpr DWORD kGenerousMs = 10000;

enum class Pump {
    // Handle the calling thread's messages meanwhile (on the application's
    // main thread: its loop turns, with releases and synchronised calls).
    Messages,
    // Handle none: the thread stays blocked, as the program's is during a
    // pass, and only the condition is looked at.
    None,
};

// Polls until `condition` holds or `timeoutMs` has passed; true when it held.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = kGenerousMs, Pump pump = Pump::Messages);

// For checks that something does not happen, where no later event can tell
// that it never will: true when `condition` holds at every poll for the whole
// window, false at the first poll where it does not.
bool HoldsFor(const std::function<bool()>& condition, DWORD windowMs, Pump pump = Pump::Messages);

}  // namespace kestrin::test
