#pragma once
// The first window of the peers that stand for a Kestrin start: hidden,
// top-level (never message-only), of no size, of a class of its own.
//
// The peers' shared functions that a peer calls with something to clean up
// are noexcept, as the build declares the system's: the cleanups then need
// no exception tables, and the C++ run-time's unwinder stays out of the peer
// (some 100 KB that Kestrin does not carry either).
#include <windows.h>

namespace kestrin::peers {

// Registers `className` with `procedure` and makes the window; nullptr when
// the system refuses either.
HWND CreateHiddenWindow(HINSTANCE instance, const char* className, WNDPROC procedure = DefWindowProcA) noexcept;

}  // namespace kestrin::peers
