#include "support/kestrin_process.h"


#include "support/wine_paths.h"

namespace kestrin::test {

std::string KestrinExePath() { return UnixToWindowsPath(KESTRIN_EXE); }

KestrinProcess::KestrinProcess(const std::string& arguments, const std::string& exePath) {
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    debugger_ = std::thread(&KestrinProcess::DebugLoop, this, commandLine);
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return startDone_.load(); });
}

KestrinProcess::~KestrinProcess() {
    if (!exited_) Kill();
    if (debugger_.joinable()) debugger_.join();
    if (process_) CloseHandle(process_);
}

void KestrinProcess::Kill() {
    if (process_ && !exited_) TerminateProcess(process_, 1);
    WaitForExit(10000);
}

bool KestrinProcess::WaitForExit(DWORD timeoutMs) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return exited_.load(); });
}

std::vector<std::string> KestrinProcess::Lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

size_t KestrinProcess::CountLines(const std::string& containing) const {
    std::lock_guard lock(mutex_);
    size_t n = 0;
    for (const auto& l : lines_) n += l.find(containing) != std::string::npos;
    return n;
}

bool KestrinProcess::WaitForLines(const std::string& containing, size_t count, DWORD timeoutMs) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        size_t n = 0;
        for (const auto& l : lines_) n += l.find(containing) != std::string::npos;
        return n >= count || exited_;
    }) && [&] {
        size_t n = 0;
        for (const auto& l : lines_) n += l.find(containing) != std::string::npos;
        return n >= count;
    }();
}

// The thread that creates a debuggee must be the one that waits for its
// debug events, so the whole life of the process is spent in this loop.
void KestrinProcess::DebugLoop(std::string commandLine) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::vector<char> cmd(commandLine.begin(), commandLine.end());
    cmd.push_back('\0');
    const BOOL ok = CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS,
                                   nullptr, nullptr, &si, &pi);
    {
        std::lock_guard lock(mutex_);
        if (ok) {
            process_ = pi.hProcess;
            CloseHandle(pi.hThread);
            processId_ = pi.dwProcessId;
        } else {
            exited_ = true;
        }
        startDone_ = true;
    }
    changed_.notify_all();
    if (!ok) return;

    DEBUG_EVENT event;
    while (WaitForDebugEvent(&event, INFINITE)) {
        DWORD status = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
        case OUTPUT_DEBUG_STRING_EVENT: {
            const auto& info = event.u.DebugString;
            std::string text(info.nDebugStringLength, '\0');
            SIZE_T read = 0;
            ReadProcessMemory(process_, info.lpDebugStringData, text.data(), text.size(), &read);
            text.resize(read);
            while (!text.empty() && (text.back() == '\0' || text.back() == '\n' || text.back() == '\r'))
                text.pop_back();
            {
                std::lock_guard lock(mutex_);
                lines_.push_back(text);
            }
            changed_.notify_all();
            break;
        }
        case EXCEPTION_DEBUG_EVENT:
            if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT)
                status = DBG_EXCEPTION_NOT_HANDLED;
            break;
        case CREATE_PROCESS_DEBUG_EVENT:
            if (event.u.CreateProcessInfo.hFile) CloseHandle(event.u.CreateProcessInfo.hFile);
            break;
        case LOAD_DLL_DEBUG_EVENT:
            if (event.u.LoadDll.hFile) CloseHandle(event.u.LoadDll.hFile);
            break;
        default:
            break;
        }
        const bool ended = event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT;
        if (ended) exitCode_ = event.u.ExitProcess.dwExitCode;
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
        if (ended) break;
    }
    {
        std::lock_guard lock(mutex_);
        exited_ = true;
    }
    changed_.notify_all();
}

}  // namespace kestrin::test
