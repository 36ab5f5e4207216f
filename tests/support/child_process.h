#pragma once
// A program started from here as a plain child (no debugger attached), ended
// with the object if it still runs.
#include <windows.h>

#include <string>

#include "win32/handles.h"

namespace kestrin::test {

class ChildProcess {
public:
    // `inheritHandles`: the child gets this process's inheritable handles
    // (whose values it is then told on its command line). `processors`: a
    // mask of the processors it may run on, set before it runs at all
    // (0: wherever the system puts it).
    explicit ChildProcess(std::string commandLine, bool inheritHandles = false, DWORD_PTR processors = 0);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return static_cast<bool>(process_); }
    DWORD ProcessId() const { return processId_; }
    HANDLE Handle() const { return process_.get(); }
    bool Running() const;
    // False when it still runs after the time.
    bool WaitForExit(DWORD timeoutMs) const;
    void Kill();

private:
    KernelHandle process_;
    DWORD processId_ = 0;
};

// "path" in quotes, for a command line.
std::string Quoted(const std::string& path);
// An event or other kernel object a child may inherit, and its handle value as text.
KernelHandle InheritableEvent(bool manualReset = false);
// This process, for a child to wait on and end with it.
KernelHandle InheritableSelf();
std::string HandleText(HANDLE handle);

}  // namespace kestrin::test
