#pragma once
// The benchmark's one table: each row a figure of Kestrin and of its peer,
// one sample of each per round, both taken in the same round; shown as the
// minimum, median and maximum over the rounds of Kestrin's value, the peer's
// value and their ratio (Kestrin / peer, round by round), with the goal the
// figure is judged against and whether the median meets it.
#include <optional>
#include <string>
#include <vector>

namespace kestrin::bench {

struct Goal {
    enum Kind {
        kNone,
        kRatioAtMost,    // median ratio <= limit
        kKestrinAtMost,  // median Kestrin value <= limit
        kKestrinBelow,   // median Kestrin value < limit
        kSameAsPeer,     // median ratio within `limit` of 1 (0: medians equal)
    };
    Kind kind = kNone;
    double limit = 0;
    std::string text;  // as shown, e.g. "<= 1.3x"

    // "met", "not met", or "" without a goal or without samples.
    std::string Verdict(double kestrinMedian, double peerMedian, double ratioMedian) const;
};

struct Row {
    std::string figure;
    std::string unit;
    int decimals = 0;  // of the values (ratios always have two)
    Goal goal;
    std::vector<double> kestrin;
    std::vector<double> peer;

    // A round's pair; a round where either could not be measured adds nothing.
    void Add(std::optional<double> kestrinValue, std::optional<double> peerValue);
};

struct Spread {
    double min = 0, median = 0, max = 0;
};
std::optional<Spread> SpreadOf(std::vector<double> values);

// The table in Markdown; a row without samples shows "n/a".
std::string FormatTable(const std::vector<Row>& rows);

}  // namespace kestrin::bench
