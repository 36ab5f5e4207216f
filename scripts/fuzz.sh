#!/usr/bin/env bash
# Long fuzz runs: builds the fuzzers (build/fuzz, clang) and runs each one in
# turn for the given number of seconds (default 600), one at a time. The
# corpus grows in build/fuzz/corpus/<name> from run to run (seeded from
# tests/fuzz/corpus/<name>); an input that breaks an invariant or trips a
# sanitizer is written to build/fuzz/artifacts/ and the script fails.
#   bash scripts/fuzz.sh 3600
set -euo pipefail
seconds=${1:-600}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DKESTRIN_FUZZ=ON >/dev/null
cmake --build build/fuzz

status=0
for name in settings_values mask_engine; do
  corpus=build/fuzz/corpus/$name
  mkdir -p "$corpus"
  echo "== $name for ${seconds}s"
  build/fuzz/${name}_fuzz -max_total_time="$seconds" -max_len=8192 -timeout=10 -print_final_stats=1 \
    -artifact_prefix=build/fuzz/artifacts/$name- "$corpus" tests/fuzz/corpus/$name 2>build/fuzz/$name.log \
    || { status=1; tail -40 build/fuzz/$name.log; }
  grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' build/fuzz/$name.log || true
  echo "corpus: $(ls "$corpus" | wc -l) inputs"
done
exit $status
