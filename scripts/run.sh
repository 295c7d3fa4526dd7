#!/usr/bin/env bash
# Starts the product, the 32-bit build/win32/tivoler.exe, under Wine 10 in the Debian
# 13 root (scripts/wine-root.sh: WoW64, or the 32-bit loader under qemu-i386), with a
# prefix of its own that persists between runs, on $DISPLAY when there is one, else on
# a virtual display.
# Arguments are passed to tivoler.exe (for example a slot number).
set -u
root=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${TIVOLER_IN_ROOT:-}" ]; then
  # The host's display, or the virtual one for the host's screenshots, is reached over
  # its abstract socket: in the host's network namespace.
  export WINE_ROOT_HOST_NETWORK=1
  . "$root/scripts/wine-root.sh"
  ensure_wine_root || exit 1
  mkdir -p "$WINE_ROOT/tivoler/run"
  exe=$(product_for_wine)
  [ -f "$exe" ] || { echo "build $exe first (make win32 win64)" >&2; exit 1; }
  cp "$exe" "$WINE_ROOT/tivoler/run/tivoler.exe" &&
    cp "$root/scripts/wine-env.sh" "$root/scripts/run.sh" "$WINE_ROOT/tivoler/run/" || exit 1
  route=
  [ "$exe" = "$root/build/win32/tivoler.exe" ] && route=$(pe32_route_text)
  echo "Starting ${exe#"$root/"} under $(in_wine_root /usr/lib/wine/wine64 --version 2>/dev/null)$route"
  in_wine_root /usr/bin/env TIVOLER_IN_ROOT=1 bash /tivoler/run/run.sh "$@"
  exit
fi

# Inside the root.
export WINEPREFIX=/tivoler/wineprefix-run
. /tivoler/run/wine-env.sh
trap stop_wine EXIT
if [ -z "${DISPLAY:-}" ]; then
  start_virtual_display || exit 1
  echo "No DISPLAY: running on the virtual display $DISPLAY (screenshot: import -display $DISPLAY -window root shot.png)"
fi
start_wine
# Windows always has the cursor scheme key; a new Wine prefix does not.
"$WINE64" reg add 'HKCU\Control Panel\Cursors' /f </dev/null >/dev/null 2>&1
"$WINE64" /tivoler/run/tivoler.exe "$@"
