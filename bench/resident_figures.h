#pragma once
// The figures of one run of a resident tray program, Kestrin or its peer:
// what it holds once settled, its processor use while idle, its threads
// after a pass, and (Kestrin) what it holds after its three dialogs were
// opened and closed.
#include <optional>

#include "bench/bench_setup.h"
#include "support/debug_output.h"
#include "support/footprint.h"

namespace kestrin::bench {

struct ResidentFigures {
    std::optional<test::Footprint> idle;
    std::optional<double> idleCpuPercent;  // of one core
    std::optional<long> threadsAfterPass;  // the peer, which makes none: its idle threads
    // Kestrin: what the dialogs are compared with, the idle footprint with
    // the private bytes read again once its USER count was done (that count
    // leaves bytes of Wine's own behind the first time, see footprint.h).
    std::optional<test::Footprint> beforeDialogs;
    std::optional<test::Footprint> afterDialogs;
};

ResidentFigures MeasureKestrin(const test::DebugOutputMonitor& monitor, const Options& options);
ResidentFigures MeasureTrayPeer(const test::DebugOutputMonitor& monitor, const Options& options);
// The splash tray program once its splash has gone: what a program that
// shows the same splash keeps of it.
std::optional<test::Footprint> MeasureSplashPeerIdle(const test::DebugOutputMonitor& monitor);

}  // namespace kestrin::bench
