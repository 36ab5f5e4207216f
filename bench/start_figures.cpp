#include "bench/start_figures.h"

#include <string>

#include "bench/bench_setup.h"
#include "bench/turn_about.h"
#include "support/child_process.h"
#include "support/kestrin_env.h"
#include "support/kestrin_process.h"
#include "support/perf_clock.h"
#include "support/windows_find.h"

namespace kestrin::bench {

using namespace test;

namespace {

// From just before the program is created to its "tray icon added" line;
// then it is closed through its window, which takes its icon away.
std::optional<double> StartToTrayMs(const DebugOutputMonitor& monitor, const std::string& commandLine,
                                    const char* windowClass) {
    const LONGLONG created = PerfNow();
    ChildProcess process(commandLine, false, MeasuredProcessors());
    const auto tray = monitor.WaitForLine(process.ProcessId(), "tray icon added", 1, kStartTimeoutMs);
    if (HWND window = WaitForWindow(windowClass, nullptr, kStartTimeoutMs, process.ProcessId()))
        PostMessageA(window, WM_CLOSE, 0, 0);
    if (!tray || !process.WaitForExit(kStartTimeoutMs)) return std::nullopt;
    return PerfMs(created, *tray);
}

std::optional<double> StartToExitMs(const std::string& commandLine) {
    const LONGLONG created = PerfNow();
    ChildProcess process(commandLine, false, MeasuredProcessors());
    if (!process.Started() || !process.WaitForExit(kStartTimeoutMs)) return std::nullopt;
    return PerfMs(created, PerfNow());
}

}  // namespace

StartFigures MeasureStarts(const DebugOutputMonitor& monitor) {
    StartFigures figures;
    WriteIni(ResidentSettings());
    const TimedPair toTray =
        TurnAbout([&] { return StartToTrayMs(monitor, Quoted(KestrinExePath()), "TMemCMain"); },
                  [&] { return StartToTrayMs(monitor, Quoted(TrayPeerPath()), "KestrinTrayPeer"); });
    figures.kestrinToTrayMs = toTray.kestrin;
    figures.peerToTrayMs = toTray.peer;

    WriteIni(NothingToDoSettings());
    const TimedPair oneShot = TurnAbout([] { return StartToExitMs(Quoted(KestrinExePath()) + " /n"); },
                                        [] { return StartToExitMs(Quoted(EmptyPeerPath())); });
    figures.kestrinOneShotMs = oneShot.kestrin;
    figures.emptyMs = oneShot.peer;
    return figures;
}

}  // namespace kestrin::bench
