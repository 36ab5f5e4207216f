#pragma once
// The thread the process started on. The program is compiled without guards
// around the first construction of function statics (-fno-threadsafe-
// statics), so each lazily built static of the framework and the program
// asks, at its construction, that it be reached first from this thread.
namespace kestrin {

bool OnStartingThread() noexcept;

// Ends the process, showing `what`, when called on any other thread: two
// threads could otherwise build the same static at once.
void RequireStartingThread(const char* what) noexcept;

}  // namespace kestrin
