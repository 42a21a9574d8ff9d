#!/usr/bin/env bash
# title: Korvid (TV application): commands to the screen window, a channel typed digit by digit, the title watch
set -euo pipefail
# The stand-in TV application runs as a process of its own: its screen window prints each command,
# and a channel chosen by digits shows in its application window's title, where the watch finds it.
log="$DEMO_DIR/tv.log"
"$WINE" "$STANDINS" tv --title "The Korvid - News (1)" --seconds 30 >"$log" &
tv=$!
# Wait until its screen window is up, asking the plug-in itself for the screen's handle.
until "$WINE" "$PLUGHOST" "$DIST/Korvid.dll" open "action GET_HANDLE" | grep -q '^done 1 [1-9]'; do sleep 0.1; done
"$WINE" "$PLUGHOST" --times "$DIST/Korvid.dll" \
  "open" \
  "startmanual title" \
  "wait 1500" \
  "action VOLUME #30" \
  "action ChannelPlus" \
  "action PRESS1 #1500" \
  "action PRESS2 #1500" \
  "wait 1500" \
  "action GET_TITLE_EVENT" \
  "action CHANNEL1" \
  "action NO_SUCH_WORD" \
  "stopmanual TITLE" \
  "action QUIT" \
  "wait 500" \
  "action GET_HANDLE" \
  "close"
wait "$tv" || true
echo "-- what the TV application received:"
cat "$log"
