#pragma once
// The figures of the benchmark's rounds, kept in a text file from one run of
// the driver to the next. scripts/bench.sh runs each round in a driver run
// of its own and restarts the Wine harness in between: Wine's taskbar keeps
// a tooltip window for every icon ever added to it, and after a few hundred
// tray starts in one prefix every window creation is about twice as slow.
// Each run adds its rounds to the file, and the table of the last run shows
// them all.
//
// A round is a line "round", the helpers running and the two process counts,
// then a line for each pair measured: Kestrin's value, the peer's and the
// row's figure as the driver names it; fields are separated by tabs.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kestrin::bench {

struct FigurePair {
    std::string figure;
    double kestrin = 0;
    double peer = 0;
};

struct RoundFigures {
    size_t helpers = 0;           // idle helper processes running
    size_t passProcesses = 0;     // listed before the resident passes
    size_t onePassProcesses = 0;  // listed before the one-shot passes
    std::vector<FigurePair> pairs;
};

bool AppendRounds(const std::string& path, const std::vector<RoundFigures>& rounds);

// Every round in the file (none when there is no file); nothing when a line
// cannot be read.
std::optional<std::vector<RoundFigures>> ReadRounds(const std::string& path);

}  // namespace kestrin::bench
