#include "bench/turn_about.h"

#include <vector>

#include "bench/bench_table.h"

namespace kestrin::bench {

TimedPair TurnAbout(const Timing& kestrin, const Timing& peer, size_t runs) {
    std::vector<double> kestrinMs, peerMs;
    for (size_t i = 0; i < runs; ++i) {
        // Every other pair goes peer first: a program started right after
        // another one's exit shares the machine with what that exit left the
        // shell and Wine to do, so neither side may always come second.
        const bool kestrinFirst = i % 2 == 0;
        const auto first = kestrinFirst ? kestrin() : peer();
        const auto second = kestrinFirst ? peer() : kestrin();
        if (!first || !second) return {};
        kestrinMs.push_back(kestrinFirst ? *first : *second);
        peerMs.push_back(kestrinFirst ? *second : *first);
    }
    return {SpreadOf(kestrinMs)->median, SpreadOf(peerMs)->median};
}

}  // namespace kestrin::bench
