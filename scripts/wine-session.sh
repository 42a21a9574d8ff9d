#!/usr/bin/env bash
# Runs a command with Wine ready: an X display (Xvfb when none is set), a project-local 64-bit
# prefix under build/, and one persistent wineserver for the whole command, ended afterwards.
# Usage: scripts/wine-session.sh COMMAND [ARG ...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installers: nothing here needs them, and they would prompt.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINE=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
[ -x "$wineserver" ] || wineserver=/usr/lib/wine/wineserver

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  "$WINE" wineboot --init >/dev/null 2>&1 || true
  "$wineserver" -w
fi
"$wineserver" -p || true  # a server left by a killed run is used as it is
# The first Wine program of a server starts its background services, which inherit that program's
# standard handles; start them here with none, so no test's output pipe stays open behind it.
"$WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true
status=0
"$@" || status=$?
"$wineserver" -k 2>/dev/null || true
exit $status
