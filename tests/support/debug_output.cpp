#include "support/debug_output.h"

#include <cstring>

#include "support/perf_clock.h"

namespace kestrin::test {

namespace {
constexpr DWORD kBufferBytes = 4096;  // a process id, then the text and its zero
}

DebugOutputMonitor::DebugOutputMonitor() {
    mutex_.reset(CreateMutexA(nullptr, FALSE, "DBWinMutex"));
    section_.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBufferBytes, "DBWIN_BUFFER"));
    if (!section_ || GetLastError() == ERROR_ALREADY_EXISTS) return;  // another monitor has it
    bufferReady_.reset(CreateEventA(nullptr, FALSE, FALSE, "DBWIN_BUFFER_READY"));
    dataReady_.reset(CreateEventA(nullptr, FALSE, FALSE, "DBWIN_DATA_READY"));
    stop_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!mutex_ || !bufferReady_ || !dataReady_ || !stop_) return;
    view_ = static_cast<const char*>(MapViewOfFile(section_.get(), FILE_MAP_READ, 0, 0, kBufferBytes));
    if (view_) receiver_ = std::thread(&DebugOutputMonitor::Receive, this);
}

DebugOutputMonitor::~DebugOutputMonitor() {
    if (receiver_.joinable()) {
        SetEvent(stop_.get());
        receiver_.join();
    }
    if (view_) UnmapViewOfFile(view_);
}

void DebugOutputMonitor::Receive() {
    const HANDLE waits[] = {dataReady_.get(), stop_.get()};
    for (;;) {
        SetEvent(bufferReady_.get());
        if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) return;
        const LONGLONG arrived = PerfNow();
        const char* text = view_ + sizeof(DWORD);
        const size_t length = strnlen(text, kBufferBytes - sizeof(DWORD));
        Line line{*reinterpret_cast<const DWORD*>(view_), std::string(text, length), arrived};
        while (!line.text.empty() && (line.text.back() == '\n' || line.text.back() == '\r')) line.text.pop_back();
        {
            std::lock_guard lock(linesMutex_);
            lines_.push_back(std::move(line));
        }
        linesChanged_.notify_all();
    }
}

std::optional<LONGLONG> DebugOutputMonitor::Find(DWORD processId, const std::string& text, size_t count) const {
    size_t seen = 0;
    for (const Line& line : lines_)
        if (line.processId == processId && line.text.find(text) != std::string::npos && ++seen == count)
            return line.arrived;
    return std::nullopt;
}

std::optional<LONGLONG> DebugOutputMonitor::WaitForLine(DWORD processId, const std::string& text, size_t count,
                                                        DWORD timeoutMs) const {
    std::unique_lock lock(linesMutex_);
    std::optional<LONGLONG> found;
    linesChanged_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [&] { return (found = Find(processId, text, count)).has_value(); });
    return found;
}

size_t DebugOutputMonitor::CountLines(DWORD processId, const std::string& text) const {
    std::lock_guard lock(linesMutex_);
    size_t seen = 0;
    for (const Line& line : lines_) seen += line.processId == processId && line.text.find(text) != std::string::npos;
    return seen;
}

}  // namespace kestrin::test
