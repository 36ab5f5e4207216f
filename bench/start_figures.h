#pragma once
// How long a start takes, each against its peer and taken turn about
// (turn_about.h):
// - the resident Kestrin from its creation to its icon in the tray, against
//   the minimal tray program (peers/tray_program.cpp);
// - the resident Kestrin from its first window to its icon in the tray,
//   against a program that does the same visible work, splash included
//   (peers/splash_tray_program.cpp);
// - `Kestrin.exe /n` from its creation to its end with nothing to do (no
//   pass configured), against a program that only starts and ends
//   (peers/empty_program.cpp) and against one that makes one hidden window
//   (peers/one_window_pass_program.cpp with no pass);
// - `Kestrin.exe /n` with exactly one pass, against that program making the
//   pass's calls once.
#include <cstddef>

#include "bench/turn_about.h"
#include "support/debug_output.h"

namespace kestrin::bench {

struct StartFigures {
    TimedPair toTray;             // peer: the tray program
    TimedPair firstWindowToTray;  // peer: the splash tray program
    TimedPair oneShotEmpty;       // peer: the empty program
    TimedPair oneShotNoPass;      // peer: one window, no pass
    TimedPair oneShotOnePass;     // peer: one window, one pass
    size_t onePassProcesses = 0;  // as the system listed them just before
};

StartFigures MeasureStarts(const test::DebugOutputMonitor& monitor, size_t runs);

}  // namespace kestrin::bench
