#!/usr/bin/env bash
# Runs every libFuzzer target of build/fuzz for the given number of seconds each.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob
targets=("$root"/build/fuzz/fuzzers/*)
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets"; exit 0; }
for target in "${targets[@]}"; do
  name=$(basename "$target")
  corpus="$root/build/fuzz/corpus/$name"
  mkdir -p "$corpus"
  echo "fuzzing $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -print_final_stats=0 "$corpus" 2>&1 | tail -n 3
  test "${PIPESTATUS[0]}" -eq 0
done
