#!/usr/bin/env bash
# The long load run: the load test of the real Kestrin.exe with ROUNDS rounds
# (default 200) of tray bursts, hot keys and dialogs, outside CTest's time
# limit. Needs the Windows build (bash scripts/test.sh, or build/win by hand).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root/build/win"
source "$root/scripts/wine-harness.sh"
trap 'harness_down "$root/build/win/harness"' EXIT
harness_up "$root/build/win/harness"
KESTRIN_LOAD_ROUNDS="${1:-200}" ./wine-run ./kestrin_e2e_tests.exe --gtest_filter='LoadE2E.*'
