#!/usr/bin/env bash
# Runs the end-to-end tests against the product, the 32-bit build/win32/tivoler.exe,
# under Wine 10 inside the Debian 13 root (scripts/wine-root.sh: WoW64 where the kernel
# runs 32-bit code, else Wine's 32-bit loader under qemu-i386), in a private prefix and
# on a virtual display of their own. The test program is the 64-bit
# build/win64/tivoler_e2e.exe; it starts the tivoler.exe that lies beside it.
# Arguments are passed to the test program (for example --gtest_filter=SecondStart.*).
# TIVOLER_E2E_EXE runs another tivoler.exe (make e2e-win64: the 64-bit twin). Where
# neither route runs 32-bit code the 64-bit twin stands in, and the run says so.
# Screenshots the tests take are copied to build/screenshots/.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${TIVOLER_IN_ROOT:-}" ]; then
  . "$root/scripts/wine-root.sh"
  exe=${TIVOLER_E2E_EXE:-$(product_for_wine)}
  tests=$root/build/win64/tivoler_e2e.exe
  [ -f "$exe" ] && [ -f "$tests" ] || { echo "build $exe and $tests first" >&2; exit 1; }
  ensure_wine_root || exit 1
  work=$WINE_ROOT/tivoler/e2e
  rm -rf "$work" && mkdir -p "$work/screenshots"
  cp "$exe" "$tests" "$(dirname "$tests")/outside_change.exe" "$root/tests/e2e/xdnd_drop.py" "$root/scripts/wine-env.sh" "$root/scripts/e2e.sh" "$work/"
  # Which program runs, read from the file and from Wine itself.
  case $(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^Magic[[:space:]]*//p' | tr -s '[:space:]' ' ') in
    "010b (PE32)"*) kind="PE32, i386" mode=$(pe32_route_text) ;;
    "020b (PE32+)"*) kind="PE32+, x86-64" mode="" ;;
    *) kind="unknown format" mode="" ;;
  esac
  wine=$(in_wine_root /usr/lib/wine/wine64 --version 2>/dev/null)
  echo "e2e: ${exe#"$root/"} ($kind) under ${wine%% *}$mode"
  in_wine_root /usr/bin/env TIVOLER_IN_ROOT=1 bash /tivoler/e2e/e2e.sh "$@"
  status=$?
  rm -rf "$root/build/screenshots"
  cp -r "$work/screenshots" "$root/build/screenshots" 2>/dev/null
  exit $status
fi

# Inside the root.
export WINEPREFIX=/tivoler/wineprefix-test
. /tivoler/e2e/wine-env.sh
trap stop_wine EXIT
start_virtual_display || exit 1
start_wine
# Without a window manager Wine waits two seconds whenever a managed window is
# hidden or destroyed; unmanaged windows spare every test that wait.
"$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
# A Japanese Windows draws the Japanese characters of menus and captions, whose system
# fonts hold none, from the Japanese font linked to those fonts. Here that font is IPA
# P Gothic, linked for the Japanese pass only (without the link the Japanese menus show
# empty boxes); the English pass draws as a Windows without Japanese fonts.
links='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
link_faces=(Tahoma "MS Sans Serif" "MS Shell Dlg" "Microsoft Sans Serif")
link_japanese_font() {  # link_japanese_font add|delete
  local face
  for face in "${link_faces[@]}"; do
    if [ "$1" = add ]; then
      "$WINE64" reg add "$links" /v "$face" /t REG_MULTI_SZ /d 'ipagp.ttf,IPAPGothic' /f
    else
      "$WINE64" reg delete "$links" /v "$face" /f
    fi
  done </dev/null >/dev/null 2>&1
}
# The window metrics (the fonts of menus and captions) as Wine chooses them for the
# system's language: a test that sets them and puts them back leaves them stored, in
# the faces and character set of the pass that ran it.
forget_window_metrics() {
  "$WINE64" reg delete 'HKCU\Control Panel\Desktop\WindowMetrics' /f </dev/null >/dev/null 2>&1
}
link_japanese_font delete
forget_window_metrics
cd /tivoler/e2e || exit 1
# Everything in English, then the language tests again on a Japanese system. A
# filter of the caller's runs there too when it names language tests.
LANG=C.UTF-8 "$WINE64" tivoler_e2e.exe "$@" </dev/null
english=$?
japanese=0
case " $* " in
  *" --gtest_filter="*Language*) japanese_args=("$@") ;;
  *" --gtest_filter="*) japanese_args=() ;;
  *) japanese_args=(--gtest_filter='Language.*' "$@") ;;
esac
if [ ${#japanese_args[@]} -gt 0 ]; then
  echo "== the same program with LANG=ja_JP.UTF-8 (Japanese texts)"
  link_japanese_font add
  forget_window_metrics
  LANG=ja_JP.UTF-8 "$WINE64" tivoler_e2e.exe "${japanese_args[@]}" </dev/null
  japanese=$?
  link_japanese_font delete
fi
# At 150 % display scale: the window lays itself out at 144 DPI. The prefix is shared
# with other runs, so its DPI is set back to 96 however the pass ends; the prefix's
# server reads the DPI when it starts.
set_dpi() {
  "$WINE64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
    </dev/null >/dev/null 2>&1
  "$WINESERVER" -k </dev/null >/dev/null 2>&1
  "$WINESERVER" -w </dev/null >/dev/null 2>&1
  start_wine
}
scaled=0
scale_filter='Language.EveryCaptionFitsItsControlInItsFont'
case " $* " in
  *" --gtest_filter="*EveryCaptionFits*) scaled_args=("$@") ;;
  *" --gtest_filter="*) scaled_args=() ;;
  *) scaled_args=(--gtest_filter="$scale_filter" "$@") ;;
esac
if [ ${#scaled_args[@]} -gt 0 ]; then
  echo "== the same program at 144 DPI (display scale 150 %)"
  trap 'set_dpi 96; stop_wine' EXIT
  set_dpi 144
  LANG=C.UTF-8 "$WINE64" tivoler_e2e.exe "${scaled_args[@]}" </dev/null
  scaled=$?
  set_dpi 96
  trap stop_wine EXIT
fi
[ $english -eq 0 ] && [ $japanese -eq 0 ] && [ $scaled -eq 0 ]
