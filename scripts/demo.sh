#!/usr/bin/env bash
# The demo: runs each plug-in's part (scripts/demo.d/*.sh, in name order) inside one Wine session.
# Each part may use $PLUGHOST (the 64-bit host tool), $STANDINS (the stand-in applications), $DIST
# (the 64-bit DLLs), $BIN (the win64 build's bin folder) and $DEMO_DIR (build/demo, for files it keeps).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export DIST="$root/dist/win64"
export BIN="$root/build/win64/bin"
export PLUGHOST="$DIST/plughost.exe"
export STANDINS="$BIN/standins.exe"
export DEMO_DIR="$root/build/demo"
mkdir -p "$DEMO_DIR"
for part in "$root"/scripts/demo.d/*.sh; do
  echo "=================================================================="
  echo "== $(sed -n 's/^# title: //p' "$part")"
  echo "=================================================================="
  bash "$part"
  echo
done
