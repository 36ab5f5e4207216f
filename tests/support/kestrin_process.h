#pragma once
// Starts the real Kestrin.exe in this Wine prefix and watches it: its exit,
// its windows and the diagnostic lines it writes with OutputDebugStringA
// (received by acting as its debugger on a thread of our own).
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kestrin::test {

// Full Windows path of the Kestrin.exe under test.
std::string KestrinExePath();

class KestrinProcess {
public:
    explicit KestrinProcess(const std::string& arguments = "", const std::string& exePath = KestrinExePath());
    KestrinProcess(const KestrinProcess&) = delete;
    KestrinProcess& operator=(const KestrinProcess&) = delete;
    ~KestrinProcess();  // ends the process if it still runs

    bool Started() const { return processId_ != 0; }
    DWORD ProcessId() const { return processId_; }

    // Waits for the process to end; false on timeout.
    bool WaitForExit(DWORD timeoutMs);
    bool Running() const { return !exited_; }
    DWORD ExitCode() const { return exitCode_; }

    // Debug lines so far, and waiting for a number of lines that contain a text.
    std::vector<std::string> Lines() const;
    size_t CountLines(const std::string& containing) const;
    bool WaitForLines(const std::string& containing, size_t count, DWORD timeoutMs) const;

    // Ends the process at once (no clean close).
    void Kill();

private:
    void DebugLoop(std::string commandLine);

    std::thread debugger_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<std::string> lines_;
    std::atomic<DWORD> processId_{0};
    std::atomic<bool> exited_{false};
    std::atomic<bool> startDone_{false};
    DWORD exitCode_ = 0;
    HANDLE process_ = nullptr;
};

}  // namespace kestrin::test
