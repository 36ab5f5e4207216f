#!/usr/bin/env python3
"""Draws the benchmark's pass times against the number of processes.

  plot_pass.py OUTPUT.png ROUND_FILE...

Reads the round files the benchmark keeps (kestrin_bench --round-file, one
round of figures per "round" line; scripts/bench_curve.sh makes one per
helper count) and plots, for each number of processes the pass went
through, the median over the rounds of Kestrin's pass (resident, started by
a click) and of the floor (the pass's own calls in a program of their own).
Needs python3-matplotlib.
"""
import statistics
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402  (after the backend is chosen)

PASS_ROW = "one compaction pass over"


def pass_times(paths):
    """{processes: ([Kestrin ms], [floor ms])} over every round of the files."""
    times = {}
    for path in paths:
        processes = None
        for line in open(path, encoding="utf-8"):
            fields = line.rstrip("\n").split("\t")
            if fields[0] == "round":
                processes = int(fields[2])
            elif len(fields) == 3 and fields[2].startswith(PASS_ROW):
                kestrin, floor = times.setdefault(processes, ([], []))
                kestrin.append(float(fields[0]))
                floor.append(float(fields[1]))
    return times


def main(output, paths):
    times = pass_times(paths)
    if not times:
        sys.exit("plot_pass.py: no pass figures in " + " ".join(paths))
    counts = sorted(times)
    figure, axes = plt.subplots(figsize=(6.4, 3.6), dpi=100)
    for which, label, style in ((0, "Kestrin (a click on its icon)", "o-"), (1, "floor: the pass's calls alone", "s--")):
        axes.plot(counts, [statistics.median(times[n][which]) for n in counts], style, label=label)
    axes.set_xlabel("processes the pass goes through")
    axes.set_ylabel("one pass (ms, median of the rounds)")
    axes.set_xlim(left=0)
    axes.set_ylim(bottom=0)
    axes.grid(True, alpha=0.3)
    axes.legend()
    axes.set_title("One compaction pass under Wine 8")
    figure.tight_layout()
    figure.savefig(output)


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2:])
