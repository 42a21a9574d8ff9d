#!/usr/bin/env bash
# title: Keyboard (emulation): typing, pressing and posting keys into a stand-in text window
set -euo pipefail
# Runs the stand-in text window in the background until it prints its handle; its output goes to $1.
start_text_window() {
  "$WINE" "$STANDINS" text "${@:2}" > "$1" &
  until grep -q ' is up' "$1" 2>/dev/null; do sleep 0.1; done
}

echo "-- TYPE and PRESS go through the system input to the focused window (default settings:"
echo "   legacy key events with virtual keys). An unknown key name gives 0 and the report."
typed="$DEMO_DIR/keyboard-typed.txt"
start_text_window "$typed" --seconds 5
"$WINE" "$PLUGHOST" "$DIST/Keyboard.dll" open \
  "action TYPE \"Hello, World! 42 apples & 7 pears; e-mail: a.b@c.org\"" \
  "action PRESS Ctrl+C" \
  "action PRESS Ctrl+Nokey" \
  "action KEYDOWN Ctrl+A" \
  "action ON CAPSLOCK" \
  close
wait
cat "$typed"

echo
echo "-- WM_PRESS posts key messages to the window given by number; Ctrl and Shift still go through"
echo "   the system input. A window handle given as text gives 0 and the report."
messages="$DEMO_DIR/keyboard-messages.txt"
start_text_window "$messages" --messages --seconds 3
handle=$(tr -d "\r" < "$messages" | sed -n "s/^text: window \([0-9-]*\) is up$/\1/p")
"$WINE" "$PLUGHOST" "$DIST/Keyboard.dll" open \
  "action WM_PRESS Alt+F4 #$handle" \
  "action WM_PRESS Ctrl+Alt+Delete #$handle" \
  "action WM_KEYDOWN \"Num Enter\" #$handle" \
  "action WM_PRESS Alt+F4 \"$handle\"" \
  close
wait
cat "$messages"
