#!/usr/bin/env bash
# Sets everything up, builds, and runs every test: the platform-free code
# natively under AddressSanitizer/UBSan, short fuzz runs (clang libFuzzer),
# the interval loop under ThreadSanitizer, then all Windows tests under Wine
# in a 32-bit prefix, the end-to-end ones again in a 64-bit prefix, and the
# scaled windows on a screen of 144 dpi (150 %).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh

echo "== host build (sanitizers)"
cmake -S . -B build/host -G Ninja -DKESTRIN_HOST=ON >/dev/null
cmake --build build/host
ctest --test-dir build/host --output-on-failure

echo "== fuzz build (clang, libFuzzer; short runs)"
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DKESTRIN_FUZZ=ON >/dev/null
cmake --build build/fuzz
ctest --test-dir build/fuzz --output-on-failure

echo "== ThreadSanitizer build (interval loop and pause gate)"
cmake -S . -B build/tsan -G Ninja -DKESTRIN_TSAN=ON >/dev/null
cmake --build build/tsan
ctest --test-dir build/tsan --output-on-failure

echo "== Windows build"
cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build build/win

source scripts/wine-harness.sh
win32=$(harness_dir "$root/build/win" win32)
win64=$(harness_dir "$root/build/win" win64)
dpi144=$(harness_dir "$root/build/win" win32 144)
# Stop only what this run started: its Wine servers and its own Xvfbs.
trap 'harness_down "$win32"; harness_down "$win64"; harness_down "$dpi144"' EXIT
SECONDS=0
harness_up "$win32" win32

echo "== Windows tests under Wine, 32-bit prefix (display $DISPLAY)"
status=0
ctest --test-dir build/win --output-on-failure || status=$?
harness_down "$win32"
echo "== 32-bit prefix: ${SECONDS} s"

# 64-bit Windows, where nearly every user runs the program: the same build
# under WoW64 among 64-bit processes. The end-to-end tests of the real
# program (the WoW64 pass test among them), the benchmark's short run, and
# the harness's own checks.
SECONDS=0
harness_up "$win64" win64
echo "== Windows tests under Wine, 64-bit prefix (WoW64; display $DISPLAY)"
KESTRIN_WINEARCH=win64 ctest --test-dir build/win --output-on-failure -R '^(e2e|win\.bench|wine\.Harness)\.' \
  || status=$?
echo "== 64-bit prefix: ${SECONDS} s"
harness_down "$win64"

# A screen of 144 dpi (LogPixels; most laptops run at 125 or 150 %), in a
# 32-bit prefix of its own: the program's windows, text and tray icon at 1.5
# times their 96-dpi sizes, seen from outside, and the harness's own checks.
SECONDS=0
harness_up "$dpi144" win32 144
echo "== Windows tests under Wine at 144 dpi (display $DISPLAY)"
KESTRIN_DPI=144 ctest --test-dir build/win --output-on-failure -R '^(e2e\.DpiE2E|wine\.Harness)\.' || status=$?
echo "== 144 dpi: ${SECONDS} s"

# Screenshots taken by the tests, as PNG beside the BMP originals.
for bmp in build/win/artifacts/*.bmp; do
  [ -e "$bmp" ] && convert "$bmp" "${bmp%.bmp}.png" 2>/dev/null || true
done
echo "screenshots: $root/build/win/artifacts"
exit $status
