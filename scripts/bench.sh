#!/usr/bin/env bash
# The benchmark: Kestrin against its peers under Wine, ROUNDS rounds
# (default 3), printed as one table (also kept in build/win/bench-table.md).
# Further arguments go to the driver: --helpers N (idle processes for the
# passes, default 200), --idle-seconds N (idle CPU window, default 30),
# --runs N (timings of each program per round, default 8).
# Not part of scripts/test.sh, which runs only a short check of it.
#
# Each round is a driver run of its own, in a harness brought up for it and
# taken down after it: Wine's taskbar keeps a tooltip window for every tray
# icon ever added, and after a few hundred tray starts in one prefix every
# window creation is about twice as slow. Each run adds its round to
# build/win/bench-rounds.txt; the last one's table reads every round there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
rounds=${1:-3}
[ $# -gt 0 ] && shift

bash scripts/setup.sh
cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build build/win --target kestrin_bench

source scripts/wine-harness.sh
# The prefix wine-run uses: KESTRIN_WINEARCH=win64 benchmarks under WoW64.
arch=${KESTRIN_WINEARCH:-win32}
harness=$(harness_dir "$root/build/win" "$arch")
# Stop only what this run started: its Wine server and its own Xvfb.
trap 'harness_down "$harness"' EXIT

kept=build/win/bench-rounds.txt
rm -f "$kept"
echo "== benchmark, $rounds rounds (a few minutes each; the table comes at the end)"
status=0
for ((round = 1; round <= rounds; ++round)); do
  harness_up "$harness" "$arch"
  echo "== round $round of $rounds"
  # A failed round still leaves the others' figures; the last run's status
  # says whether every row has every round.
  status=0
  build/win/wine-run build/win/kestrin_bench.exe --rounds 1 --round-file "$root/$kept" "$@" \
    >build/win/bench-run.log || status=$?
  harness_down "$harness"
done
grep -v '^round ' build/win/bench-run.log | tee build/win/bench-table.md
exit $status
