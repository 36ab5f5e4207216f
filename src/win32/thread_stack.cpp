#include "win32/thread_stack.h"

#include <windows.h>

#include <cstdint>

namespace kestrin {

namespace {
// Room left for the frames of the calls made from here on without faulting
// pages in again: the system call itself and what a handler calls at once.
constexpr uintptr_t kKeptBelowCaller = 64 * 1024;
constexpr uintptr_t kPage = 4096;

const NT_TIB* CurrentThreadBlock() noexcept {
    // GCC takes the read of the fs segment at offset 0 for an access to an
    // empty array.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
    return reinterpret_cast<const NT_TIB*>(NtCurrentTeb());
#pragma GCC diagnostic pop
}

}  // namespace

StackRange UnusedStack() noexcept {
    const NT_TIB* tib = CurrentThreadBlock();
    // StackLimit is the lowest committed page above the guard page, on
    // Windows and under Wine alike: nothing below it may be touched.
    const auto lowest = reinterpret_cast<uintptr_t>(tib->StackLimit);
    const auto frame = reinterpret_cast<uintptr_t>(&tib);
    if (frame < lowest + kKeptBelowCaller + kPage) return {};
    return {lowest, (frame - kKeptBelowCaller) & ~(kPage - 1)};
}

void ReleaseUnusedStack() noexcept {
    const StackRange unused = UnusedStack();
    if (unused.end <= unused.begin) return;
    // A refusal leaves the pages as they were, which is only a lost saving.
    (void)VirtualAlloc(reinterpret_cast<void*>(unused.begin), unused.end - unused.begin, MEM_RESET, PAGE_READWRITE);
}

}  // namespace kestrin
