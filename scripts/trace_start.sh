#!/usr/bin/env bash
# Where a resident start's time goes, call by call: starts Kestrin and the
# splash tray program (the benchmark's peer for "first window to icon in the
# tray") RUNS times each (default 5) under Wine's relay trace of the calls
# that make up the start, and prints for each call the median time, from the
# program's "first window" line, at which it returned.
#
# The relay trace slows every traced call alike, and Wine's timestamps are
# whole milliseconds: read the steps against each other and against the
# peer's, not as the benchmark's figures (scripts/bench.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
runs=${1:-5}

bash scripts/setup.sh >/dev/null
cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build build/win --target Kestrin splash_tray_program >/dev/null

source scripts/wine-harness.sh
arch=${KESTRIN_WINEARCH:-win32}
harness=$(harness_dir "$root/build/win" "$arch")
trap 'wine reg delete "HKCU\\Software\\Wine\\Debug" /v RelayInclude /f >/dev/null 2>&1 || true; harness_down "$harness"' EXIT
harness_up "$harness" "$arch"

calls="user32.RegisterClassExA;user32.RegisterClassA;user32.CreateWindowExA;user32.ShowWindow;user32.UpdateWindow"
calls+=";user32.SetWindowLongA;user32.LoadImageA;user32.BeginPaint;user32.EndPaint;user32.CreatePopupMenu"
calls+=";shell32.SHGetFolderPathA;KERNEL32.CreateFileA;KERNEL32.GetPrivateProfileStringA;shell32.Shell_NotifyIconA"
wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /t REG_SZ /d "$calls" /f >/dev/null

traces=$(mktemp -d)
# One start: traced until its icon is in the tray, then closed through its
# windows (taskkill without /f sends WM_CLOSE), which takes the icon away.
trace_one() {
  local exe=$1 out=$2
  WINEDEBUG=+timestamp,+relay,+debugstr wine "$exe" </dev/null >"$out" 2>&1 &
  local pid=$! waited=0
  until grep -q 'tray icon added' "$out"; do
    sleep 0.1
    if ((++waited > 300)); then echo "no icon in the tray from $exe" >&2; break; fi
  done
  wine taskkill /im "$(basename "$exe")" >/dev/null 2>&1 || true
  wait "$pid" || true
}

for ((run = 1; run <= runs; ++run)); do
  trace_one "$root/build/win/Kestrin.exe" "$traces/kestrin.$run"
  trace_one "$root/build/win/peers/splash_tray_program.exe" "$traces/peer.$run"
done

# Each run's calls on the thread that wrote "first window", from that line to
# "tray icon added": "name ms" per call, numbered per name so that the runs
# line up; then the median over the runs.
steps() {
  awk '
    /debugstr:OutputDebugStringA "Kestrin: first window/ { split($0, f, ":"); start = f[1]; thread = f[2]; next }
    start == "" { next }
    /debugstr:OutputDebugStringA "Kestrin: tray icon added/ { split($0, f, ":"); if (f[2] == thread) { printf "tray-icon-added#1 %.1f\n", (f[1] - start) * 1000; exit } }
    /:Ret  [A-Za-z0-9_]+\.[A-Za-z0-9_]+\(\)/ {
      split($0, f, ":"); if (f[2] != thread) next
      match($0, /Ret  [A-Za-z0-9_]+\.[A-Za-z0-9_]+/); name = substr($0, RSTART + 5, RLENGTH - 5)
      printf "%s#%d %.1f\n", name, ++seen[name], (f[1] - start) * 1000
    }' "$1"
}
report() {
  local program=$1
  for file in "$traces/$program".*; do steps "$file"; done |
    awk '{ if (!($1 in n)) order[++count] = $1; t[$1, ++n[$1]] = $2 }
      END {
        for (i = 1; i <= count; ++i) {
          key = order[i]; m = n[key]
          for (a = 1; a <= m; ++a) v[a] = t[key, a]
          for (a = 1; a <= m; ++a) for (b = a + 1; b <= m; ++b) if (v[b] < v[a]) { x = v[a]; v[a] = v[b]; v[b] = x }
          median = (m % 2) ? v[(m + 1) / 2] : (v[m / 2] + v[m / 2 + 1]) / 2
          printf "  %-36s %6.1f ms  (%d runs)\n", key, median, m
        }
      }'
}
echo "== Kestrin: returns after \"first window\" (median of $runs starts)"
report kestrin
echo "== splash tray program: returns after \"first window\" (median of $runs starts)"
report peer
rm -rf "$traces"
