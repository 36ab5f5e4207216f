#include "bench/resident_figures.h"

#include <memory>

#include "support/child_process.h"
#include "support/kestrin_env.h"
#include "support/kestrin_process.h"
#include "support/perf_clock.h"
#include "support/process_resources.h"
#include "support/wait.h"
#include "support/windows_find.h"

namespace kestrin::bench {

using namespace test;

namespace {

// A resident program started now, up once it has its icon in the tray.
struct Started {
    std::unique_ptr<ChildProcess> process;
    bool inTray = false;

    Started(const DebugOutputMonitor& monitor, const std::string& commandLine)
        : process(std::make_unique<ChildProcess>(commandLine, false, MeasuredProcessors())) {
        inTray = process->Started() &&
                 monitor.WaitForLine(process->ProcessId(), "tray icon added", 1, kStartTimeoutMs).has_value();
    }
};

// Once the window answers a sent message its thread is in its message loop.
bool Answers(HWND window) {
    DWORD_PTR result = 0;
    return window && SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, kGenerousMs, &result) != 0;
}

// Processor time used over a window of `seconds`, as a share of one core.
std::optional<double> IdleCpuPercent(const ChildProcess& process, int seconds) {
    const auto cpuBefore = ProcessCpuTime(process.ProcessId());
    const LONGLONG from = PerfNow();
    // The window is the measurement: the wait ends early only if the program does.
    if (process.WaitForExit(static_cast<DWORD>(seconds) * 1000)) return std::nullopt;
    const auto cpuAfter = ProcessCpuTime(process.ProcessId());
    const double wallMs = PerfMs(from, PerfNow());
    if (!cpuBefore || !cpuAfter) return std::nullopt;
    return static_cast<double>(*cpuAfter - *cpuBefore) / 10000.0 / wallMs * 100.0;
}

// Every message posted to the program before has been handled once its tray
// menu opens (the program handles its messages in order).
bool FlushThroughTrayMenu(DWORD processId, HWND callback) {
    HWND menu = OpenTrayMenu(processId, callback);
    return menu && CloseMenu(menu);
}

// Each dialog shown, painted as a user would see it, and closed. (Closed
// before it has painted, a dialog leaves fewer objects behind, and how many
// then depends on the machine's load.)
std::optional<Footprint> AfterDialogs(DWORD processId, HWND callback) {
    for (const MenuDialog& dialog : TrayMenuDialogs()) {
        HWND window = OpenFromTrayMenu(processId, callback, dialog);
        if (!window) return std::nullopt;
        RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        if (!CloseWithCloseBox(processId, window, dialog)) return std::nullopt;
    }
    if (!FlushThroughTrayMenu(processId, callback)) return std::nullopt;
    return ReadFootprint(processId);
}

// A hot-key pass with an interval set ends the automatic way (the icon's
// animation, on a worker thread made at its first use).
std::optional<long> ThreadsAfterHotKeyPass(const DebugOutputMonitor& monitor, DWORD processId, HWND controller) {
    const ATOM hotKey = GlobalFindAtomA("KestrinHK");
    if (!hotKey) return std::nullopt;
    PostMessageA(controller, WM_HOTKEY, hotKey, 0);
    if (!monitor.WaitForLine(processId, "pass end", 1, kStartTimeoutMs) || !Answers(controller)) return std::nullopt;
    return ReadProcessResources(processId).threads;
}

void Close(const ChildProcess& process, HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    process.WaitForExit(kStartTimeoutMs);
}

}  // namespace

ResidentFigures MeasureKestrin(const DebugOutputMonitor& monitor, const Options& options) {
    WriteIni(ResidentSettings());
    Started kestrin(monitor, Quoted(KestrinExePath()));
    ResidentFigures figures;
    const DWORD processId = kestrin.process->ProcessId();
    if (!kestrin.inTray || !monitor.WaitForLine(processId, "resident", 1, kStartTimeoutMs)) return figures;
    // Settled: the splash gone, the loop running.
    HWND controller = WaitForController(processId);
    if (!WaitForWindowGone("TSS", kStartTimeoutMs, processId) || !Answers(controller)) return figures;

    figures.idleCpuPercent = IdleCpuPercent(*kestrin.process, options.idleSeconds);
    figures.idle = ReadFootprint(processId);
    if (figures.idle) {
        figures.beforeDialogs = figures.idle;
        figures.beforeDialogs->privateBytes = ReadProcessResources(processId).privateBytes;
    }
    figures.afterDialogs = AfterDialogs(processId, CallbackWindow(controller));
    figures.threadsAfterPass = ThreadsAfterHotKeyPass(monitor, processId, controller);
    Close(*kestrin.process, controller);
    return figures;
}

ResidentFigures MeasureTrayPeer(const DebugOutputMonitor& monitor, const Options& options) {
    Started peer(monitor, Quoted(TrayPeerPath()));
    ResidentFigures figures;
    const DWORD processId = peer.process->ProcessId();
    HWND window = WaitForWindow("KestrinTrayPeer", nullptr, kStartTimeoutMs, processId);
    if (!peer.inTray || !Answers(window)) return figures;

    figures.idleCpuPercent = IdleCpuPercent(*peer.process, options.idleSeconds);
    figures.idle = ReadFootprint(processId);
    if (figures.idle) figures.threadsAfterPass = figures.idle->threads;
    Close(*peer.process, window);
    return figures;
}

std::optional<Footprint> MeasureSplashPeerIdle(const DebugOutputMonitor& monitor) {
    Started peer(monitor, Quoted(SplashTrayPeerPath()));
    const DWORD processId = peer.process->ProcessId();
    HWND window = WaitForWindow("KestrinSplashTrayPeer", nullptr, kStartTimeoutMs, processId);
    // Settled as Kestrin is: the splash gone, the loop running.
    if (!peer.inTray || !WaitForWindowGone("KestrinSplashPeer", kStartTimeoutMs, processId) || !Answers(window))
        return std::nullopt;
    const std::optional<Footprint> idle = ReadFootprint(processId);
    Close(*peer.process, window);
    return idle;
}

}  // namespace kestrin::bench
