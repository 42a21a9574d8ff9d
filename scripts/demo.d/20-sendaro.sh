#!/usr/bin/env bash
# title: Sendaro (remote receiver): a tap, a held button and an unknown code, with their times
set -euo pipefail
# The plug-in loads RemtCtrl.dll from its own folder, so the demo gives it one: a copy of the
# plug-in, the sensor stand-in under the library's name, the settings file and the stand-in's script.
folder="$DEMO_DIR/sendaro"
mkdir -p "$folder"
cp "$DIST/Sendaro.dll" "$folder/"
cp "$BIN/remtctrl_standin.dll" "$folder/RemtCtrl.dll"
printf '[Main]\r\nInterval=50\r\n[Codes]\r\n1A=Power\r\n0c=Mute\r\n' > "$folder/Sendaro.ini"
# From each time (ms after the first poll) on, the sensor reports that code; FF is nothing.
cat > "$folder/RemtCtrl.script" <<'SCRIPT'
0 FF
300 1A
350 FF
900 C
1900 FF
2600 26
2650 FF
SCRIPT
echo "sensor script: Power tapped at 300 ms, Mute held from 900 to 1900 ms, code 26 (no name) tapped at 2600 ms"
echo "timings: Interval 50, Wait1 300, WaitN 100, WaitR 200 (times below: ms since plughost started)"
"$WINE" "$PLUGHOST" --times "$folder/Sendaro.dll" \
  "open" \
  "start" \
  "wait 3300" \
  "stop" \
  "close"
