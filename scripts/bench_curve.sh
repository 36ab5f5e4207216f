#!/usr/bin/env bash
# The picture of docs/benchmark.md: one benchmark round (scripts/bench.sh)
# for each number of idle helper processes given (default 0 100 200 300),
# each round file kept in build/win/bench-curve/, then the pass times
# against the processes drawn into docs/benchmark_pass.png. The idle window
# is cut to 1 s and the timings to 4 of each: only the passes are drawn.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
counts=("${@:-0 100 200 300}")
# The plotting package is Debian's, for Debian's own Python.
bash scripts/setup.sh python3-matplotlib
mkdir -p build/win/bench-curve
rm -f build/win/bench-curve/rounds-*.txt
for helpers in ${counts[*]}; do
  bash scripts/bench.sh 1 --helpers "$helpers" --idle-seconds 1 --runs 4
  cp build/win/bench-rounds.txt "build/win/bench-curve/rounds-$helpers.txt"
done
/usr/bin/python3 scripts/plot_pass.py docs/benchmark_pass.png build/win/bench-curve/rounds-*.txt
echo "picture: $root/docs/benchmark_pass.png"
