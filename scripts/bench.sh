#!/usr/bin/env bash
# The benchmark: Kestrin against its peers under Wine, ROUNDS rounds
# (default 3), printed as one table (also kept in build/win/bench-table.md).
# Further arguments go to the driver: --helpers N (idle processes for the
# passes, default 200), --idle-seconds N (idle CPU window, default 30).
# Not part of scripts/test.sh, which runs only a short check of it.
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
harness=$(harness_dir "$root/build/win" "${KESTRIN_WINEARCH:-win32}")
# Stop only what this run started: its Wine server and its own Xvfb.
trap 'harness_down "$harness"' EXIT
harness_up "$harness" "${KESTRIN_WINEARCH:-win32}"

echo "== benchmark, $rounds rounds (a few minutes; the table comes at the end)"
build/win/wine-run build/win/kestrin_bench.exe --rounds "$rounds" "$@" | tee build/win/bench-table.md
