#pragma once
// The calling thread's stack below the part in use, given back to the system.
//
// Under Wine a thread starts with about 1 MB of its stack already written
// (the whole stack is committed at once, and the start-up touches it), and
// that memory stays the thread's for its whole life: the idle program's two
// threads held about 2 MB this way. The pages below the deepest frame the
// thread still needs hold nothing of use; the system is told so (MEM_RESET)
// and takes them back while they stay committed, and the next call that goes
// that deep gets fresh pages. On Windows, where a stack grows page by page,
// this returns what a deep call left behind.
#include <cstdint>

namespace kestrin {

// The calling thread's committed stack from its lowest page to a margin below
// the caller's frame, page-aligned; empty when the thread is that deep.
struct StackRange {
    uintptr_t begin = 0;
    uintptr_t end = 0;
};
StackRange UnusedStack() noexcept;

// Call where the thread is shallow: at the start of its body, or in the
// message loop. Keeps a margin below the caller's frame; never fails.
void ReleaseUnusedStack() noexcept;

}  // namespace kestrin
