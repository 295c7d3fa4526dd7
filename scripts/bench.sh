#!/usr/bin/env bash
# Performance figures of Tivoler, each measured beside its baseline in the same run,
# printed as one table (Markdown) and six closing lines: the start-up ratio, the
# apply's time over an unhandled message, the product over the two floor programs
# (the same window with all it needs to show; the system calls one apply has to
# make), the CPU time of listening to a bound mouse over a program that only
# registers the same raw input, and the CPU time of hearing foreground changes with a
# program bound over a program whose hook does nothing. Builds what it needs: the product with the win32
# preset, the measuring programs of bench/ for i686 (build/bench-win32: all 32-bit,
# like the product) and natively (build/bench-native). The Windows programs run
# under Wine 10 in WoW64 mode inside the Debian 13 root (scripts/wine-root.sh), in a
# private prefix on a virtual display of their own; both are stopped at the end.
# The settings code runs natively under callgrind.
#
# BENCH_STARTS (15), BENCH_APPLIES (1000), BENCH_CURSOR_CHANGES (200),
# BENCH_RAW_MOVES (10000), BENCH_FOREGROUND_CHANGES (1000) and BENCH_IDLE_SECONDS (60) set
# the repetitions; raw figures and logs stay in
# build/bench-results/.
set -u
if [ -n "${TIVOLER_IN_ROOT:-}" ]; then
  # Inside the root: the Windows programs under Wine, figures to wine.txt.
  export WINEPREFIX=/tivoler/wineprefix-bench LC_ALL=C
  cd /tivoler/bench || exit 1
  # Every Wine process on one processor: a request to the wineserver that wakes it on
  # the other processor costs tens of microseconds more, and which program the scheduler
  # happens to place there changed the apply figures by 2.5 times between runs.
  cpu=$(taskset -pc $$ | sed 's/.*: *//; s/[-,].*//')
  taskset -pc "$cpu" $$ >/dev/null || exit 1
  . ./wine-env.sh
  trap stop_wine EXIT
  start_virtual_display || exit 1
  start_wine
  run() { "$WINE64" wine_bench.exe "$@" </dev/null >>wine.txt 2>>wine.log; }
  echo "== start-up: $1 starts of each program" >&2
  run startup "$1" || exit 1
  echo "== desktop-shortcut start: $1 starts of each program" >&2
  run shortcut "$1" || exit 1
  echo "== slot applies: $2, cursor preview steps: $3" >&2
  run apply "$2" "$3" || exit 1
  echo "== raw input: $5 mouse moves" >&2
  run rawinput "$5" || exit 1
  echo "== foreground: $6 changes of the window in front" >&2
  run foreground "$6" || exit 1
  echo "== idle: four times $4 s" >&2
  run idle "$4"
  exit
fi
root=$(cd "$(dirname "$0")/.." && pwd)
starts=${BENCH_STARTS:-15}
applies=${BENCH_APPLIES:-1000}
cursorChanges=${BENCH_CURSOR_CHANGES:-200}
idle=${BENCH_IDLE_SECONDS:-60}
rawMoves=${BENCH_RAW_MOVES:-10000}
foregroundChanges=${BENCH_FOREGROUND_CHANGES:-1000}
results="$root/build/bench-results"
# The product is 32-bit and so are the programs it is measured against. Timings are
# taken only of programs the processor runs itself: on a kernel that runs no 32-bit code
# (where Wine runs 32-bit programs under an emulator, or not at all), the 64-bit twin and
# 64-bit builds of the same programs are timed instead. The file's figures need no run:
# they are always the product's.
. "$root/scripts/wine-root.sh"
if kernel_runs_32bit_code; then
  preset=win32 toolchain=mingw-i686
else
  preset=win64 toolchain=mingw-x86_64
  echo "bench: this kernel runs no 32-bit code: the 64-bit twin and 64-bit measuring programs are timed" >&2
fi
bench32="$root/build/bench-$preset"
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

cd "$root" || exit 1
for built in $(printf '%s\n' win32 "$preset" | sort -u); do
  say "building the product (preset $built)"
  retry sh -c "cmake --preset $built >/dev/null && cmake --build --preset $built --target tivoler -j2 >'$results/build-$built.log' 2>&1" ||
    fail "the $built build failed (see $results/build-$built.log)"
done

say "building the measuring programs"
for built in $(printf '%s\n' mingw-i686 "$toolchain" | sort -u); do
  folder="$root/build/bench-win32"
  [ "$built" = mingw-x86_64 ] && folder="$root/build/bench-win64"
  cmake -S bench -B "$folder" --toolchain "$root/cmake/$built.cmake" >/dev/null &&
    cmake --build "$folder" -j2 >"$results/build-bench-$built.log" 2>&1 || fail "the bench build ($built) failed"
done
cmake -S bench -B "$native" >/dev/null &&
  cmake --build "$native" -j2 >"$results/build-bench-native.log" 2>&1 || fail "bench-native build failed"
# What floor_apply.exe repeats: the system calls of one apply of each slot.
for slot in 1 2; do "$native/apply_calls" "$slot"; done >"$results/apply-calls.txt" ||
  fail "apply_calls failed"
# ---- 1. the product's file (always the 32-bit product) ----
product="$root/build/win32/tivoler.exe" minimal="$root/build/bench-win32/minimal.exe"
objdump=i686-w64-mingw32-objdump
{
  echo "size.tivoler_bytes=$(stat -c %s "$product")"
  echo "size.minimal_bytes=$(stat -c %s "$minimal")"
  echo "size.imports=$($objdump -p "$product" | awk '/DLL Name:/ {print $3}' | paste -sd' ')"
  echo "size.minimal_imports=$($objdump -p "$minimal" | awk '/DLL Name:/ {print $3}' | paste -sd' ')"
  $objdump -h "$product" | while read -r _ name size _; do
    case "$name" in .*) echo "size.section$name=$((16#$size))" ;; esac
  done
  echo "run.programs=build/$preset/tivoler.exe and the measuring programs of build/bench-$preset"
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

# ---- 2.-6. under Wine 10 (WoW64), inside the root ----
ensure_wine_root || fail "no Wine 10 root"
work="$WINE_ROOT/tivoler/bench"
rm -rf "$work" && mkdir -p "$work"
# The measured copy sits beside the measuring program.
cp "$root/build/$preset/tivoler.exe" "$bench32"/{wine_bench.exe,minimal.exe,minimal_imports.exe,minimal_buttons.exe} \
  "$bench32"/{floor_startup.exe,floor_apply.exe,floor_rawinput.exe,floor_foreground.exe,gui_counter.dll} \
  "$root/scripts/wine-env.sh" "$root/scripts/bench.sh" "$work/" || fail "cannot copy the programs"
say "$(in_wine_root /usr/lib/wine/wine64 --version): build/$preset/tivoler.exe beside minimal.exe (both built for $preset)"
in_wine_root /usr/bin/env TIVOLER_IN_ROOT=1 LANG=C bash /tivoler/bench/bench.sh \
  "$starts" "$applies" "$cursorChanges" "$idle" "$rawMoves" "$foregroundChanges" || fail "the measurements under Wine failed (see $results/wine.log)"
cp "$work/wine.txt" "$work/wine.log" "$results/"
cat "$results"/size.txt "$results"/ir.txt "$results"/wine.txt >"$results/figures.txt"
python3 "$root/bench/table.py" "$results/figures.txt" | tee "$results/table.md"
