#!/usr/bin/env bash
# title: Keyboard: keys typed by xdotool become named events, through the hook library and through DirectInput
set -euo pipefail
# The plug-in reads its settings beside itself, so it runs from a folder of its own here.
dir="$DEMO_DIR/keyboard"
mkdir -p "$dir"
cp "$DIST/Keyboard.dll" "$DIST/hooks.dll" "$dir/"

# Waits for plughost's window, gives it the X focus (Wine takes X keys only then) and types.
type_keys() {
  local window
  window=$(xdotool search --sync --name '^plughost$' | head -n 1)
  xdotool windowfocus --sync "$window"
  sleep 0.5
  xdotool key --delay 200 ctrl+c shift+a F5 super+e
  # A held key: the hook library reports the X server's own repeats; DirectInput makes its own.
  xdotool keydown b
  sleep 0.8
  xdotool keyup b
}

for mode in "hook library (low-level hook)" "DirectInput"; do
  if [ "$mode" = DirectInput ]; then
    printf '[Setup]\nUseDirectInput=1\n' > "$dir/Keyboard.ini"
  else
    printf '[Setup]\nUseDirectInput=0\nUseLLHook=1\n' > "$dir/Keyboard.ini"
  fi
  echo "-- $mode: ctrl+c, shift+a, F5, super+e, then b held for 0.8 s"
  type_keys &
  typer=$!
  "$WINE" "$PLUGHOST" "$dir/Keyboard.dll" open show start "wait 4000" stop close
  wait "$typer" || true
done
