#include "bench/bench_table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kestrin::bench {

namespace {

std::string Number(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string SpreadText(const std::optional<Spread>& spread, int decimals) {
    if (!spread) return "n/a";
    return Number(spread->min, decimals) + " / " + Number(spread->median, decimals) + " / " +
           Number(spread->max, decimals);
}

std::vector<double> Ratios(const Row& row) {
    std::vector<double> ratios;
    for (size_t i = 0; i < row.kestrin.size(); ++i)
        if (row.peer[i] != 0) ratios.push_back(row.kestrin[i] / row.peer[i]);
    return ratios;
}

}  // namespace

std::string Goal::Verdict(double kestrinMedian, double peerMedian, double ratioMedian) const {
    bool met = false;
    switch (kind) {
    case kNone: return "";
    case kRatioAtMost: met = ratioMedian <= limit; break;
    case kKestrinAtMost: met = kestrinMedian <= limit; break;
    case kKestrinBelow: met = kestrinMedian < limit; break;
    case kSameAsPeer:
        met = limit == 0 ? kestrinMedian == peerMedian : std::fabs(ratioMedian - 1.0) <= limit;
        break;
    }
    return met ? "met" : "not met";
}

void Row::Add(std::optional<double> kestrinValue, std::optional<double> peerValue) {
    if (!kestrinValue || !peerValue) return;
    kestrin.push_back(*kestrinValue);
    peer.push_back(*peerValue);
}

std::optional<Spread> SpreadOf(std::vector<double> values) {
    if (values.empty()) return std::nullopt;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return Spread{values.front(), median, values.back()};
}

std::string FormatTable(const std::vector<Row>& rows) {
    std::string table =
        "| figure | unit | Kestrin min / median / max | peer min / median / max | ratio min / median / max | goal | |\n"
        "|---|---|---|---|---|---|---|\n";
    for (const Row& row : rows) {
        const auto kestrin = SpreadOf(row.kestrin);
        const auto peer = SpreadOf(row.peer);
        const auto ratio = SpreadOf(Ratios(row));
        const std::string verdict =
            kestrin && peer ? row.goal.Verdict(kestrin->median, peer->median, ratio ? ratio->median : NAN) : "";
        table += "| " + row.figure + " | " + row.unit + " | " + SpreadText(kestrin, row.decimals) + " | " +
                 SpreadText(peer, row.decimals) + " | " + (ratio ? SpreadText(ratio, 2) : std::string("-")) +
                 " | " + row.goal.text + " | " + verdict + " |\n";
    }
    return table;
}

}  // namespace kestrin::bench
