#pragma once
// The time from the start of `Kestrin.exe /n` with nothing to do (no pass
// configured) to its end, and the same for a program that only starts and
// ends (peers/empty_program.cpp).
#include <optional>

namespace kestrin::bench {

struct OneShotFigures {
    std::optional<double> kestrinMs;
    std::optional<double> emptyMs;
};

OneShotFigures MeasureOneShot();

}  // namespace kestrin::bench
