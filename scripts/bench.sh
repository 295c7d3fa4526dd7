#!/usr/bin/env bash
# Performance figures of Tivoler, each measured beside its baseline in the same run,
# printed as one table (Markdown). Builds what it needs: the product with the win32
# and win64 presets, the measuring programs of bench/ for Windows (build/bench-win64,
# and minimal.exe for i686 in build/bench-win32) and natively (build/bench-native).
# The Windows programs run under wine64 in a private prefix (build/wineprefix-bench)
# on a virtual display of their own; both are stopped at the end. The settings code
# runs natively under callgrind.
#
# BENCH_STARTS (15), BENCH_APPLIES (1000), BENCH_CURSOR_CHANGES (200) and
# BENCH_IDLE_SECONDS (60) set the repetitions; raw figures and logs stay in
# build/bench-results/.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
starts=${BENCH_STARTS:-15}
applies=${BENCH_APPLIES:-1000}
cursorChanges=${BENCH_CURSOR_CHANGES:-200}
idle=${BENCH_IDLE_SECONDS:-60}
results="$root/build/bench-results"
bench64="$root/build/bench-win64"
bench32="$root/build/bench-win32"
native="$root/build/bench-native"
mkdir -p "$results"
rm -f "$results"/*.txt "$results"/*.log "$results"/callgrind.*

say() { echo "== $*" >&2; }
fail() {
  echo "bench: $*" >&2
  exit 1
}

# Another build may be running in the same folder at the same time: try again.
retry() {
  local attempt
  for attempt in 1 2 3 4; do
    "$@" && return 0
    [ "$attempt" -lt 4 ] && { echo "bench: retrying: $*" >&2; sleep $((attempt * 5)); }
  done
  return 1
}

command -v valgrind >/dev/null || {
  SUDO=
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get install -y -q --no-install-recommends valgrind >&2 || fail "valgrind is missing"
}

say "building the product (presets win32, win64)"
cd "$root" || exit 1
for preset in win32 win64; do
  retry sh -c "cmake --preset $preset >/dev/null && cmake --build --preset $preset --target tivoler -j2 >'$results/build-$preset.log' 2>&1" ||
    fail "the $preset build failed (see $results/build-$preset.log)"
done

say "building the measuring programs"
cmake -S bench -B "$bench64" --toolchain "$root/cmake/mingw-x86_64.cmake" >/dev/null &&
  cmake --build "$bench64" -j2 >"$results/build-bench-win64.log" 2>&1 || fail "bench-win64 build failed"
cmake -S bench -B "$bench32" --toolchain "$root/cmake/mingw-i686.cmake" >/dev/null &&
  cmake --build "$bench32" --target minimal -j2 >"$results/build-bench-win32.log" 2>&1 || fail "bench-win32 build failed"
cmake -S bench -B "$native" >/dev/null &&
  cmake --build "$native" -j2 >"$results/build-bench-native.log" 2>&1 || fail "bench-native build failed"
# The measured copy sits beside the measuring program, so that a rebuild of
# build/win64 during the run changes nothing here.
retry sh -c "cp '$root/build/win64/tivoler.exe' '$bench64/tivoler.exe.new' &&
  x86_64-w64-mingw32-objdump -f '$bench64/tivoler.exe.new' >/dev/null" || fail "cannot copy tivoler.exe"
mv "$bench64/tivoler.exe.new" "$bench64/tivoler.exe"

# ---- 1. the product's file ----
exe32="$root/build/win32/tivoler.exe"
{
  echo "size.tivoler_bytes=$(stat -c %s "$exe32")"
  echo "size.minimal_bytes=$(stat -c %s "$bench32/minimal.exe")"
  echo "size.imports=$(i686-w64-mingw32-objdump -p "$exe32" | awk '/DLL Name:/ {print $3}' | paste -sd' ')"
  echo "size.minimal_imports=$(i686-w64-mingw32-objdump -p "$bench32/minimal.exe" | awk '/DLL Name:/ {print $3}' | paste -sd' ')"
  i686-w64-mingw32-objdump -h "$exe32" | while read -r _ name size _; do
    case "$name" in .*) echo "size.section$name=$((16#$size))" ;; esac
  done
} >"$results/size.txt"

# ---- 7. instruction counts of the settings code (native, callgrind) ----
say "callgrind: loading and saving eleven profiles"
for mode in load save read-lines write-lines; do
  valgrind --tool=callgrind --collect-atstart=no \
    --callgrind-out-file="$results/callgrind.$mode" \
    "$native/settings_bench" "$mode" 20 >"$results/callgrind-$mode.log" 2>&1 ||
    fail "settings_bench $mode failed (see $results/callgrind-$mode.log)"
  ir=$(sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$results/callgrind-$mode.log")
  echo "ir.$mode=$((ir / 20))"
done >"$results/ir.txt"

# ---- 2.-6. under wine64 ----
export WINEPREFIX="$root/build/wineprefix-bench"
# The same texts and formats on every machine.
export LANG=C LC_ALL=C
. "$root/scripts/wine-env.sh"
trap stop_wine EXIT
start_virtual_display || exit 1
start_wine
wine_bench() {
  (cd "$bench64" && "$WINE64" wine_bench.exe "$@" </dev/null) >>"$results/wine.txt" 2>>"$results/wine.log" ||
    fail "wine_bench $* failed (see $results/wine.log)"
}
say "start-up: $starts starts of each program"
wine_bench startup "$starts"
say "desktop-shortcut start: $starts starts of each program"
wine_bench shortcut "$starts"
say "slot applies: $applies, cursor preview steps: $cursorChanges"
wine_bench apply "$applies" "$cursorChanges"
wine_bench calls 200
say "idle: twice $idle s"
wine_bench idle "$idle"
stop_wine
trap - EXIT

cat "$results"/size.txt "$results"/ir.txt "$results"/wine.txt >"$results/figures.txt"
python3 "$root/bench/table.py" "$results/figures.txt" | tee "$results/table.md"
