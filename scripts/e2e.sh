#!/usr/bin/env bash
# Runs the end-to-end tests under wine64 against build/win64/tivoler.exe, in a
# private prefix under build/ and on a virtual display of their own.
# Arguments are passed to the test program (for example --gtest_filter=SecondStart.*).
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="$root/build/wineprefix-test"
. "$root/scripts/wine-env.sh"

trap stop_wine EXIT
start_virtual_display || exit 1
start_wine
cd "$root/build/win64" || exit 1
"$WINE64" tivoler_e2e.exe "$@" </dev/null
