#pragma once
// Receives what the processes of the session write with OutputDebugStringA
// while no debugger is attached to them, through the system's shared buffer
// (the "DBWinMutex" mutex, the "DBWIN_BUFFER" section and the
// "DBWIN_BUFFER_READY" / "DBWIN_DATA_READY" events), which Wine implements
// as Windows does. Unlike acting as the program's debugger (KestrinProcess),
// it leaves the program's run as it is, with no debug event at every library
// it loads, so it serves to time what the program reports. Each line is
// stamped with the performance counter when it arrives.
//
// One monitor per session at a time: a second finds the buffer taken and
// stays inactive.
#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "win32/handles.h"

namespace kestrin::test {

class DebugOutputMonitor {
public:
    DebugOutputMonitor();
    ~DebugOutputMonitor();
    DebugOutputMonitor(const DebugOutputMonitor&) = delete;
    DebugOutputMonitor& operator=(const DebugOutputMonitor&) = delete;

    bool Active() const { return view_ != nullptr; }

    // The performance-counter time at which the `count`-th line of that
    // process containing `text` arrived; nothing if none within the time.
    std::optional<LONGLONG> WaitForLine(DWORD processId, const std::string& text, size_t count,
                                        DWORD timeoutMs) const;
    size_t CountLines(DWORD processId, const std::string& text) const;

private:
    struct Line {
        DWORD processId;
        std::string text;
        LONGLONG arrived;
    };
    void Receive();
    std::optional<LONGLONG> Find(DWORD processId, const std::string& text, size_t count) const;

    KernelHandle mutex_, section_, bufferReady_, dataReady_, stop_;
    const char* view_ = nullptr;
    std::thread receiver_;
    mutable std::mutex linesMutex_;
    mutable std::condition_variable linesChanged_;
    std::vector<Line> lines_;
};

}  // namespace kestrin::test
