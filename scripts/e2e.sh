#!/usr/bin/env bash
# Runs the end-to-end tests under wine64 against build/win64/tivoler.exe, in a
# private prefix under build/ and on a virtual display of their own.
# Arguments are passed to the test program (for example --gtest_filter=SecondStart.*).
# TIVOLER_TEST_PREFIX and TIVOLER_WIN64_BUILD choose another prefix or build folder.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${TIVOLER_TEST_PREFIX:-$root/build/wineprefix-test}"
build="${TIVOLER_WIN64_BUILD:-$root/build/win64}"
. "$root/scripts/wine-env.sh"

trap stop_wine EXIT
start_virtual_display || exit 1
start_wine
# Without a window manager Wine waits two seconds whenever a managed window is
# hidden or destroyed; unmanaged windows spare every test that wait.
"$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
cd "$build" || exit 1
# Everything in English, then the language tests again on a Japanese system.
LANG=C.UTF-8 "$WINE64" tivoler_e2e.exe "$@" </dev/null
english=$?
echo "== the same program with LANG=ja_JP.UTF-8 (Japanese texts)"
LANG=ja_JP.UTF-8 "$WINE64" tivoler_e2e.exe --gtest_filter='Language.*' "$@" </dev/null
japanese=$?
[ $english -eq 0 ] && [ $japanese -eq 0 ]
