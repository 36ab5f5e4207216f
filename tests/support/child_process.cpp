#include "support/child_process.h"

namespace kestrin::test {

ChildProcess::ChildProcess(std::string commandLine, bool inheritHandles, DWORD_PTR processors) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, inheritHandles,
                        processors ? CREATE_SUSPENDED : 0, nullptr, nullptr, &startup, &info))
        return;
    process_.reset(info.hProcess);
    KernelHandle thread(info.hThread);
    processId_ = info.dwProcessId;
    if (processors) {
        SetProcessAffinityMask(info.hProcess, processors);
        ResumeThread(thread.get());
    }
}

ChildProcess::~ChildProcess() { Kill(); }

bool ChildProcess::Running() const { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

bool ChildProcess::WaitForExit(DWORD timeoutMs) const {
    return !process_ || WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
}

void ChildProcess::Kill() {
    if (!Running()) return;
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 10000);
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

KernelHandle InheritableEvent(bool manualReset) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return KernelHandle(CreateEventA(&inherit, manualReset, FALSE, nullptr));
}

KernelHandle InheritableSelf() {
    HANDLE self = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self, SYNCHRONIZE, TRUE, 0);
    return KernelHandle(self);
}

std::string HandleText(HANDLE handle) { return std::to_string(reinterpret_cast<uintptr_t>(handle)); }

}  // namespace kestrin::test
