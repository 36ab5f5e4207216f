#pragma once
// How long a start takes: the resident Kestrin from its creation to its icon
// in the tray against the minimal tray program (peers/tray_program.cpp), and
// `Kestrin.exe /n` with nothing to do (no pass configured) from its creation
// to its end against a program that only starts and ends
// (peers/empty_program.cpp). Each taken turn about (turn_about.h).
#include <optional>

#include "support/debug_output.h"

namespace kestrin::bench {

struct StartFigures {
    std::optional<double> kestrinToTrayMs;
    std::optional<double> peerToTrayMs;
    std::optional<double> kestrinOneShotMs;
    std::optional<double> emptyMs;
};

StartFigures MeasureStarts(const test::DebugOutputMonitor& monitor);

}  // namespace kestrin::bench
