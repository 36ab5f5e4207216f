#!/usr/bin/env python3
"""Runs a short benchmark (the command given) and checks its table: every
row is there, and Kestrin's and the peer's medians are numbers, above zero
except where zero is a fair reading (a kind of object the program has none
of, no processor tick in a short idle window); the passes went through the
helper processes. With --round-file (as scripts/bench.sh runs it, a round
a run), the file is made anew and must hold the run's one round with a pair
for every row; then the round is kept twice over and a run that measures
nothing (--rounds 0) must show two rounds and the same figures. Timings
and ratios are never judged here: that is the full run's job."""
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
    ("GDI objects, idle (peer: splash tray program)", False),
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


def table(command):
    """The run's exit status, output, round count and rows by figure."""
    run = subprocess.run(command, capture_output=True, text=True, errors="replace")
    rows = {}
    for line in run.stdout.splitlines():
        if line.startswith("| ") and not line.startswith("| figure"):
            row = [c.strip() for c in line.strip("|").split(" | ")]
            rows[row[0]] = row
    rounds = re.search(r": (\d+) rounds,", run.stdout)
    return run.returncode, run.stdout, int(rounds.group(1)) if rounds else None, rows


def round_file_failures(command, round_file, rows):
    kept = open(round_file, encoding="cp932").read() if os.path.exists(round_file) else ""
    lines = kept.splitlines()
    if sum(line.startswith("round\t") for line in lines) != 1 or len(lines) != 1 + len(rows):
        return [f"{round_file} does not hold one round with a pair for every row"]
    with open(round_file, "a", encoding="cp932") as file:
        file.write(kept)
    shown = list(command)
    shown[shown.index("--rounds") + 1] = "0"
    status, output, rounds, again = table(shown)
    failures = [] if status == 0 else [f"the run of the round file ended with {status}:\n{output}"]
    if rounds != 2:
        failures.append(f"the run of the round file shows {rounds} rounds, not the 2 kept")
    for figure, row in rows.items():
        if again.get(figure, [None] * 4)[2:4] != row[2:4]:
            failures.append(f"'{figure}': {row[2:4]} measured, {again.get(figure)} read back")
    return failures


def main():
    command = sys.argv[1:]
    round_file = option("--round-file")
    if round_file and os.path.exists(round_file):
        os.remove(round_file)
    status, output, rounds, cells = table(command)
    print(output)
    failures = [] if status == 0 else [f"the benchmark ended with {status}"]
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
        passed = re.search(re.escape(who) + r" over (\d+) processes", output)
        if not passed or int(passed.group(1)) <= helpers:
            failures.append(f"'{who}' did not go through the helper processes")
    if round_file:
        if rounds != 1:
            failures.append(f"the table shows {rounds} rounds, not the one the run kept")
        failures += round_file_failures(command, round_file, cells)
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
