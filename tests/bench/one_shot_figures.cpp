#include "bench/one_shot_figures.h"

#include <string>

#include "bench/bench_setup.h"
#include "support/child_process.h"
#include "support/kestrin_env.h"
#include "support/kestrin_process.h"
#include "support/perf_clock.h"

namespace kestrin::bench {

using namespace test;

namespace {

std::optional<double> StartToExitMs(const std::string& commandLine) {
    const LONGLONG created = PerfNow();
    ChildProcess process(commandLine, false, MeasuredProcessors());
    if (!process.Started() || !process.WaitForExit(kStartTimeoutMs)) return std::nullopt;
    return PerfMs(created, PerfNow());
}

}  // namespace

OneShotFigures MeasureOneShot() {
    WriteIni(NothingToDoSettings());
    OneShotFigures figures;
    figures.kestrinMs = StartToExitMs(Quoted(KestrinExePath()) + " /n");
    figures.emptyMs = StartToExitMs(Quoted(EmptyPeerPath()));
    return figures;
}

}  // namespace kestrin::bench
