#!/usr/bin/env bash
# title: Sendaro settings window: a held button shown by its code and name, and the help without the sensor library
set -euo pipefail
# With no window manager on this X server, the picture tool's windows get their frame and caption
# from Wine itself (a setting for that tool alone).
"$WINE" reg add 'HKCU\Software\Wine\AppDefaults\sendaro_setup_shots.exe\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
# A folder with the sensor stand-in, whose script holds the Power button from 300 ms on.
folder="$DEMO_DIR/sendaro-setup"
mkdir -p "$folder"
cp "$DIST/Sendaro.dll" "$folder/"
cp "$BIN/remtctrl_standin.dll" "$folder/RemtCtrl.dll"
printf '[Main]\r\nInterval=50\r\n[Codes]\r\n0B=Eleven\r\n1A=Power\r\n20=Volume up\r\n21=Volume down\r\n0C=Mute\r\n' \
  > "$folder/Sendaro.ini"
printf '0 FF\n300 1A\n' > "$folder/RemtCtrl.script"
pressed="$DEMO_DIR/sendaro-setup-pressed.png"
"$WINE" "$BIN/sendaro_setup_shots.exe" "$folder/Sendaro.dll" pressed "$pressed"
echo "settings window with Power held: $pressed"
grep -A4 '^\[Main\]' "$folder/Sendaro.ini" | tr -d '\r' | sed 's/^/  after closing, Sendaro.ini: /'

# A folder without RemtCtrl.dll: Open reports it, and the window explains what is needed.
unbound="$DEMO_DIR/sendaro-setup-unbound"
mkdir -p "$unbound"
cp "$DIST/Sendaro.dll" "$unbound/"
help="$DEMO_DIR/sendaro-setup-help.png"
"$WINE" "$BIN/sendaro_setup_shots.exe" "$unbound/Sendaro.dll" help "$help"
echo "help message without the sensor library: $help"
