# Sourced inside the Wine 10 root (scripts/wine-root.sh) by the scripts that run
# Windows programs: a private prefix, a virtual display when needed, and a clean
# stop of both.
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

xvfb_pid=
# Starts Xvfb on a free display number and exports DISPLAY. A number can be taken
# by a display outside the root (the X socket names are shared), so a server that
# ends at once means: try the next one.
start_virtual_display() {
  local n
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 100); do
      if [ -e "/tmp/.X11-unix/X$n" ] && DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
        export DISPLAY=":$n"
        return 0
      fi
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=
  done
  echo "Xvfb did not start" >&2
  return 1
}

# Starts this prefix's wineserver (creating the prefix when new), detached from
# our output so that nothing it leaves behind holds the terminal open.
start_wine() {
  mkdir -p "$WINEPREFIX"
  "$WINESERVER" -p </dev/null >/dev/null 2>&1
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX ..."
  fi
  "$WINE64" wineboot -i </dev/null >/dev/null 2>&1
  substitute_fonts
}

# The fonts Windows has and Wine does not stand in for by themselves: Arial by the
# font with its widths, and on a Japanese system the proportional Japanese font for
# "ＭＳ Ｐゴシック" and for a Western face asked for in the Japanese character set
# (as Windows' font mapper picks its proportional Japanese font there).
substitute_fonts() {
  local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' from to
  while IFS='=' read -r from to; do
    "$WINE64" reg add "$key" /v "$from" /d "$to" /f </dev/null >/dev/null 2>&1
  done <<'LIST'
Arial=Liberation Sans
ＭＳ Ｐゴシック=IPAPGothic
Tahoma,128=IPAPGothic,128
LIST
}

stop_wine() {
  "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
  fi
}
