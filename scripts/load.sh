#!/usr/bin/env bash
# The long load run: the load test of the real Kestrin.exe with ROUNDS rounds
# (default 200) of tray bursts, hot keys and dialogs, outside CTest's time
# limit. Needs the Windows build (bash scripts/test.sh, or build/win by hand).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root/build/win"
source "$root/scripts/wine-harness.sh"
# The prefix wine-run uses (KESTRIN_WINEARCH=win64: under WoW64).
harness=$(harness_dir "$root/build/win" "${KESTRIN_WINEARCH:-win32}")
trap 'harness_down "$harness"' EXIT
harness_up "$harness" "${KESTRIN_WINEARCH:-win32}"
KESTRIN_LOAD_ROUNDS="${1:-200}" ./wine-run ./kestrin_e2e_tests.exe --gtest_filter='LoadE2E.*'
