#!/usr/bin/env bash
# title: Jubelon (media manager): command words to the manager's window, parameter 1 passed on
set -euo pipefail
# The stand-in media manager runs as a process of its own and prints each command with its
# argument; it exits on "EXIT" as the real manager would.
log="$DEMO_DIR/manager.log"
"$WINE" "$STANDINS" manager --seconds 30 >"$log" &
manager=$!
until grep -q 'is up' "$log" 2>/dev/null; do sleep 0.1; done
"$WINE" "$PLUGHOST" "$DIST/Jubelon.dll" \
  "open" \
  "action play" \
  "action VOLUME_SET #50" \
  "action PLAY #7" \
  "action STOP #1 #2 #3" \
  "action NO_SUCH_WORD #9" \
  "action EXIT" \
  "wait 500" \
  "action PLAY"
wait "$manager" || true
echo "-- what the media manager received:"
cat "$log"
