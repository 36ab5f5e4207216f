#!/usr/bin/env bash
# Sets everything up, builds Kestrin.exe and its help file Kestrin.chm, and
# runs the program under Wine in the virtual desktop. With $DISPLAY set the
# desktop opens there; without one a private Xvfb is used and a screenshot is
# written every few seconds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh
cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
# The program and its help file, as a user gets them.
cmake --build build/win --target Kestrin kestrin_help

source scripts/wine-harness.sh
arch=${KESTRIN_WINEARCH:-win32}  # win64: under WoW64, as on 64-bit Windows
harness=$(harness_dir "$root/build/win" "$arch")
if [ -n "${DISPLAY:-}" ] && [ -z "${KESTRIN_DISPLAY:-}" ]; then export KESTRIN_DISPLAY=$DISPLAY; fi
trap 'harness_down "$harness"' EXIT
harness_up "$harness" "$arch"

shots="$root/build/win/screens"
if [ -z "${KESTRIN_DISPLAY:-}" ]; then
  mkdir -p "$shots"
  echo "no \$DISPLAY: private display $DISPLAY, screenshots in $shots/latest.png"
  ( while sleep 3; do import -display "$DISPLAY" -window root "$shots/latest.png" 2>/dev/null || true; done ) &
  shooter=$!
  trap 'kill $shooter 2>/dev/null; harness_down "$harness"' EXIT
fi

echo "Kestrin runs in the virtual desktop; close it from its tray menu (閉じる)."
wine "$root/build/win/Kestrin.exe" "$@"
