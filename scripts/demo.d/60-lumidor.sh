#!/usr/bin/env bash
# title: Lumidor (media player): command words to the player's window
set -euo pipefail
# The stand-in player runs as a process of its own and prints each command it receives; it exits
# on "APPLICATION_EXIT" as the real player would.
"$WINE" "$STANDINS" player --answer 1 --seconds 30 &
player=$!
# Wait until its window is up, asking the plug-in itself for the player's handle.
until "$WINE" "$PLUGHOST" "$DIST/Lumidor.dll" open "action GET_HANDLE" | grep -q '^done 1 [1-9]'; do sleep 0.1; done
"$WINE" "$PLUGHOST" "$DIST/Lumidor.dll" \
  "open" \
  "action PlayBack_Play" \
  "action VERSION" \
  "action GET_HANDLE" \
  "action PLAYBACK_PLAY #7" \
  "action NO_SUCH_WORD" \
  "action APPLICATION_EXIT" \
  "wait 500" \
  "action PLAYBACK_PLAY" \
  "action GET_HANDLE"
wait "$player" || true
