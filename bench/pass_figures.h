#pragma once
// The time of one compaction pass of the resident Kestrin (started by a
// click on its icon) and of the pass program that makes only the pass's
// calls (peers/pass_program.cpp), both running side by side so that each
// pass goes through the same processes: after one pass of each to warm up,
// taken turn about (turn_about.h).
#include <cstddef>
#include <optional>

#include "support/debug_output.h"

namespace kestrin::bench {

struct PassFigures {
    std::optional<double> kestrinMs;
    std::optional<double> floorMs;
    size_t processes = 0;  // as the system listed them just before
};

PassFigures MeasurePasses(const test::DebugOutputMonitor& monitor, size_t runs);

}  // namespace kestrin::bench
