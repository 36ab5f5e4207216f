#!/usr/bin/env python3
"""Runs a short benchmark (the command given) and checks its table: every
row is there, and Kestrin's and the peer's medians are numbers, above zero
except where zero is a fair reading (a kind of object the program has none
of, no processor tick in a short idle window); the passes went through the
helper processes; with --round-file, the file is made anew and the table
reads back the one round the run added to it, as scripts/bench.sh has the
last of its runs read them all. Timings and ratios are never judged here:
that is the full run's job."""
import os
import re
import subprocess
import sys

ROWS = [  # (start of the figure, whether zero is a fair value)
    ("one compaction pass over", False),
    ("private bytes, idle", False),
    ("GDI objects, idle", False),
    ("- bitmaps", True), ("- DCs", True), ("- fonts", True), ("- brushes", True), ("- other", True),
    ("USER objects, idle", False),
    ("- windows", False), ("- menus", True), ("- icons and cursors", True),
    ("kernel handles, idle", False),
    ("threads after the first automatic pass", False),
    ("size of the program", False),
    ("start to icon in the tray", False),
    ("first window to icon in the tray", False),
    ("`/n` start to exit", False),
    ("`/n` with no pass", False),
    ("`/n` with one pass over", False),
    ("idle CPU over", True),
    ("after the 3 dialogs: private bytes", False),
    ("after the 3 dialogs: GDI objects", False),
    ("after the 3 dialogs: USER objects", False),
    ("after the 3 dialogs: kernel handles", False),
]


def median(cell):
    """The middle one of "min / median / max"; None when it is no number."""
    parts = [p.strip() for p in cell.split("/")]
    try:
        return float(parts[1]) if len(parts) == 3 else None
    except ValueError:
        return None


def option(name):
    """The value after `name` on the command line; None without it."""
    return sys.argv[sys.argv.index(name) + 1] if name in sys.argv else None


def main():
    round_file = option("--round-file")
    if round_file and os.path.exists(round_file):
        os.remove(round_file)
    run = subprocess.run(sys.argv[1:], capture_output=True, text=True, errors="replace")
    print(run.stdout)
    cells = {}
    for line in run.stdout.splitlines():
        if line.startswith("| ") and not line.startswith("| figure"):
            row = [c.strip() for c in line.strip("|").split(" | ")]
            cells[row[0]] = row
    failures = [] if run.returncode == 0 else [f"the benchmark ended with {run.returncode}"]
    for start, zero_fair in ROWS:
        row = next((r for figure, r in cells.items() if figure.startswith(start)), None)
        if row is None:
            failures.append(f"no row '{start}'")
            continue
        for who, cell in (("Kestrin", row[2]), ("peer", row[3])):
            value = median(cell)
            if value is None or value < 0 or (value == 0 and not zero_fair):
                failures.append(f"'{row[0]}': {who} '{cell}'")
    helpers = int(option("--helpers") or 0)
    for who in ("one compaction pass", "`/n` with one pass"):
        passed = re.search(re.escape(who) + r" over (\d+) processes", run.stdout)
        if not passed or int(passed.group(1)) <= helpers:
            failures.append(f"'{who}' did not go through the helper processes")
    if round_file:
        rounds = re.search(r": (\d+) rounds,", run.stdout)
        if not rounds or int(rounds.group(1)) != 1:
            failures.append("the table does not read the one round the run kept")
        kept = open(round_file, encoding="cp932").read().splitlines() if os.path.exists(round_file) else []
        if sum(line.startswith("round\t") for line in kept) != 1 or len(kept) != 1 + len(cells):
            failures.append(f"{round_file} does not hold one round with a pair for every row")
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
