#pragma once
// Timings of Kestrin and of its peer taken turn about, a few of each within
// one round, in the order Kestrin, peer, peer, Kestrin, Kestrin, ...; the
// round keeps the median of each, so that a burst of other work on the
// shared machine during one run does not decide the round.
#include <cstddef>
#include <functional>
#include <optional>

namespace kestrin::bench {

using Timing = std::function<std::optional<double>()>;

struct TimedPair {
    std::optional<double> kestrin;
    std::optional<double> peer;
};

// Nothing for both when any run could not be timed.
TimedPair TurnAbout(const Timing& kestrin, const Timing& peer, size_t runs);

}  // namespace kestrin::bench
