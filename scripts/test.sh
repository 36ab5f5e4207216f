#!/usr/bin/env bash
# Sets everything up, builds, and runs every test: the platform-free code
# natively under AddressSanitizer/UBSan, short fuzz runs (clang libFuzzer),
# the interval loop under ThreadSanitizer, then all Windows tests under Wine.
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
# Stop only what this run started: its Wine server and its own Xvfb.
trap 'harness_down "$root/build/win/harness"' EXIT
harness_up "$root/build/win/harness"

echo "== Windows tests under Wine (display $DISPLAY)"
status=0
ctest --test-dir build/win --output-on-failure || status=$?

# Screenshots taken by the tests, as PNG beside the BMP originals.
for bmp in build/win/artifacts/*.bmp; do
  [ -e "$bmp" ] && convert "$bmp" "${bmp%.bmp}.png" 2>/dev/null || true
done
echo "screenshots: $root/build/win/artifacts"
exit $status
