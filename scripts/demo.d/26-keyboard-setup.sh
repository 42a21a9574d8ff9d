#!/usr/bin/env bash
# title: Keyboard settings window: a held combination and two registered hotkeys
set -euo pipefail
# With no window manager on this X server, the picture tool's window gets its frame and caption
# from Wine itself (a setting for that tool alone).
"$WINE" reg add 'HKCU\Software\Wine\AppDefaults\keyboard_setup_shot.exe\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
# A folder of its own, so that the settings file the window writes on closing stays out of dist/.
folder="$DEMO_DIR/keyboard-setup"
mkdir -p "$folder"
cp "$DIST/Keyboard.dll" "$DIST/hooks.dll" "$folder/"
printf '[Layout]\r\nEnglish=Alt+Shift\r\nInternational=Ctrl+Shift\r\n[Setup]\r\nUseDirectInput=0\r\nUseLLHook=1\r\n' \
  > "$folder/Keyboard.ini"
picture="$DEMO_DIR/keyboard-setup.png"
"$WINE" "$BIN/keyboard_setup_shot.exe" "$folder/Keyboard.dll" "$picture"
echo "settings window with Ctrl+Shift held and hotkeys Ctrl+Alt+Q and Shift+F5 registered: $picture"
tr -d '\r' < "$folder/Keyboard.ini" | sed 's/^/  after closing, Keyboard.ini: /'
