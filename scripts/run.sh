#!/usr/bin/env bash
# Starts tivoler.exe under wine64 with a prefix of its own that persists between
# runs, on $DISPLAY when there is one, else on a virtual display.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${TIVOLER_PREFIX:-$root/build/wineprefix-run}"
. "$root/scripts/wine-env.sh"

if [ -z "${DISPLAY:-}" ]; then
  start_virtual_display || exit 1
  echo "No DISPLAY: running on the virtual display $DISPLAY (screenshot: import -display $DISPLAY -window root shot.png)"
  trap stop_wine EXIT
fi
start_wine
# Windows always has the cursor scheme key; a new Wine prefix does not.
"$WINE64" reg add 'HKCU\Control Panel\Cursors' /f </dev/null >/dev/null 2>&1
"$WINE64" "$root/build/win64/tivoler.exe" "$@"
