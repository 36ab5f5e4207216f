#include "bench/turn_about.h"

#include <vector>

#include "bench/bench_table.h"

namespace kestrin::bench {

TimedPair TurnAbout(const Timing& kestrin, const Timing& peer, size_t runs) {
    std::vector<double> kestrinMs, peerMs;
    for (size_t i = 0; i < runs; ++i) {
        const auto k = kestrin();
        const auto p = peer();
        if (!k || !p) return {};
        kestrinMs.push_back(*k);
        peerMs.push_back(*p);
    }
    return {SpreadOf(kestrinMs)->median, SpreadOf(peerMs)->median};
}

}  // namespace kestrin::bench
