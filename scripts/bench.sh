#!/usr/bin/env bash
# Runs every benchmark of the win64 build (bench_*.exe) under Wine; each prints its own table.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root/build/win64/bin"
for bench in bench_*.exe; do
  echo "== $bench"
  "$WINE" "$bench"
  echo
done
