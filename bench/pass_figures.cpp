#include "bench/pass_figures.h"

#include <functional>
#include <vector>

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

// Starts the program's `n`-th pass and times it from its "pass start" line
// to its "pass end" line.
std::optional<double> TimePass(const DebugOutputMonitor& monitor, DWORD processId, size_t n,
                               const std::function<void()>& start) {
    start();
    const auto begun = monitor.WaitForLine(processId, "pass start", n, kStartTimeoutMs);
    const auto ended = monitor.WaitForLine(processId, "pass end", n, kStartTimeoutMs);
    if (!begun || !ended) return std::nullopt;
    return PerfMs(*begun, *ended);
}

}  // namespace

PassFigures MeasurePasses(const DebugOutputMonitor& monitor, size_t runs) {
    PassFigures figures;
    WriteIni(ResidentSettings());
    ChildProcess kestrin(Quoted(KestrinExePath()), false, MeasuredProcessors());
    if (!monitor.WaitForLine(kestrin.ProcessId(), "resident", 1, kStartTimeoutMs)) return figures;
    HWND controller = WaitForController(kestrin.ProcessId());
    HWND callback = CallbackWindow(controller);
    if (!callback) return figures;

    const KernelHandle go = InheritableEvent();
    const KernelHandle self = InheritableSelf();
    ChildProcess floor(Quoted(PassPeerPath()) + " " + HandleText(go.get()) + " " + HandleText(self.get()), true,
                       MeasuredProcessors());
    if (!floor.Started()) return figures;

    const auto click = [&] { PostTrayMessage(callback, WM_LBUTTONDOWN); };
    const auto signal = [&] { SetEvent(go.get()); };
    size_t kestrinPasses = 1, floorPasses = 1;  // the first of each warms up
    if (TimePass(monitor, kestrin.ProcessId(), 1, click) && TimePass(monitor, floor.ProcessId(), 1, signal)) {
        figures.processes = ProcessCount();
        const TimedPair passes =
            TurnAbout([&] { return TimePass(monitor, kestrin.ProcessId(), ++kestrinPasses, click); },
                      [&] { return TimePass(monitor, floor.ProcessId(), ++floorPasses, signal); }, runs);
        figures.kestrinMs = passes.kestrin;
        figures.floorMs = passes.peer;
    }
    PostMessageA(controller, WM_CLOSE, 0, 0);
    kestrin.WaitForExit(kStartTimeoutMs);
    return figures;
}

}  // namespace kestrin::bench
