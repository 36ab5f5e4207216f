#include "bench/start_figures.h"

#include <string>

#include "bench/bench_setup.h"
#include "support/child_process.h"
#include "support/kestrin_env.h"
#include "support/kestrin_process.h"
#include "support/perf_clock.h"
#include "support/windows_find.h"

namespace kestrin::bench {

using namespace test;

namespace {

// A resident start: from `fromLine` (just before the program is created
// when there is none) to its "tray icon added" line; then it is closed
// through its window, which takes its icon away.
std::optional<double> ToTrayMs(const DebugOutputMonitor& monitor, const std::string& commandLine,
                               const char* windowClass, const char* fromLine = nullptr) {
    const LONGLONG created = PerfNow();
    ChildProcess process(commandLine, false, MeasuredProcessors());
    const auto from = fromLine ? monitor.WaitForLine(process.ProcessId(), fromLine, 1, kStartTimeoutMs)
                               : std::optional<LONGLONG>(created);
    const auto tray = monitor.WaitForLine(process.ProcessId(), "tray icon added", 1, kStartTimeoutMs);
    if (HWND window = WaitForWindow(windowClass, nullptr, kStartTimeoutMs, process.ProcessId()))
        PostMessageA(window, WM_CLOSE, 0, 0);
    if (!from || !tray || !process.WaitForExit(kStartTimeoutMs)) return std::nullopt;
    return PerfMs(*from, *tray);
}

std::optional<double> StartToExitMs(const std::string& commandLine) {
    const LONGLONG created = PerfNow();
    ChildProcess process(commandLine, false, MeasuredProcessors());
    if (!process.Started() || !process.WaitForExit(kStartTimeoutMs)) return std::nullopt;
    return PerfMs(created, PerfNow());
}

Timing OneShot(const std::string& commandLine) {
    return [commandLine] { return StartToExitMs(commandLine); };
}

}  // namespace

StartFigures MeasureStarts(const DebugOutputMonitor& monitor, size_t runs) {
    StartFigures figures;
    const std::string kestrin = Quoted(KestrinExePath());
    WriteIni(ResidentSettings());
    figures.toTray = TurnAbout([&] { return ToTrayMs(monitor, kestrin, "TMemCMain"); },
                               [&] { return ToTrayMs(monitor, Quoted(TrayPeerPath()), "KestrinTrayPeer"); }, runs);
    figures.firstWindowToTray =
        TurnAbout([&] { return ToTrayMs(monitor, kestrin, "TMemCMain", "first window"); },
                  [&] {
                      return ToTrayMs(monitor, Quoted(SplashTrayPeerPath()), "KestrinSplashTrayPeer", "first window");
                  },
                  runs);

    const std::string oneShot = kestrin + " /n";
    const std::string oneWindow = Quoted(OneWindowPeerPath());
    WriteIni(NothingToDoSettings());
    figures.oneShotEmpty = TurnAbout(OneShot(oneShot), OneShot(Quoted(EmptyPeerPath())), runs);
    figures.oneShotNoPass = TurnAbout(OneShot(oneShot), OneShot(oneWindow + " 0"), runs);

    WriteIni(OnePassSettings());
    figures.onePassProcesses = ProcessCount();
    figures.oneShotOnePass = TurnAbout(OneShot(oneShot), OneShot(oneWindow + " 1"), runs);
    return figures;
}

}  // namespace kestrin::bench
